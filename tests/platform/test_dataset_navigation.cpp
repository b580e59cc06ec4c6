// The data-set framework driven through an in-memory data set: navigation
// with windows of several sizes, opening and its failures, bookmarks,
// filters, searches, data sources and master links.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/DataLinks.h"
#include "test_dataset_memory.h"

namespace {

std::vector<TColumn> PeopleColumns() {
  return {{"ID", ftInteger}, {"Name", ftString, 20}, {"City", ftString, 20}, {"Qty", ftSmallint}};
}

struct Person {
  int id;
  const char* name;
  const char* city;
  int qty;
};

void AddPeople(TDataSet& ds, std::initializer_list<Person> people) {
  for (const Person& p : people) {
    ds.Append();
    ds.FieldByName("ID")->SetAsInteger(p.id);
    ds.FieldByName("Name")->SetAsString(p.name);
    ds.FieldByName("City")->SetAsString(p.city);
    ds.FieldByName("Qty")->SetAsInteger(p.qty);
    ds.Post();
  }
}

const std::initializer_list<Person> kSix = {{1, "A", "Paris", 3},  {2, "B", "Lyon", 5},  {3, "C", "Paris", 1},
                                            {4, "D", "Nice", 3},   {5, "E", "Paris", 2}, {6, "F", "Lyon", 8}};

String Name(TDataSet& ds) { return ds.FieldByName("Name")->AsString(); }

// The names from the first record to the last, leaving the data set on the
// record it was on.
String Listing(TDataSet& ds) {
  TBookmark here = ds.GetBookmark();
  String out;
  for (ds.First(); !ds.Eof(); ds.Next()) out += Name(ds);
  ds.GotoBookmark(here);
  return out;
}

class PeopleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds.SetName("People");
    ds.Open();
    AddPeople(ds, kSix);
    ds.First();
  }
  TMemoryDataSet ds{nullptr, PeopleColumns()};
};

// --- navigation through windows of every size ----------------------------------------------

class WindowTest : public ::testing::TestWithParam<int> {};

TEST_P(WindowTest, NavigationAndEditsGiveTheSameRecordsWhateverTheWindow) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.SetWindowSize(GetParam());
  ds.Open();
  AddPeople(ds, kSix);
  String trace;
  auto note = [&](const char* step) {
    ASSERT_LE(ds.WindowCount(), GetParam());
    trace += String(step) + "=" + Name(ds) + (ds.Bof() ? "^" : "") + (ds.Eof() ? "$" : "") + " ";
  };

  ds.First();
  note("first");
  ds.Next();
  ds.Next();
  note("next2");
  EXPECT_EQ(ds.MoveBy(2), 2);
  note("by2");
  ds.Prior();
  note("prior");
  EXPECT_EQ(ds.RecNo(), 4);
  ds.Last();
  note("last");
  EXPECT_EQ(ds.MoveBy(1), 0);
  note("past");
  EXPECT_EQ(ds.MoveBy(-4), -4);
  note("back4");
  EXPECT_EQ(ds.MoveBy(-9), -1);
  note("back9");
  ds.First();
  EXPECT_EQ(ds.MoveBy(10), 5);
  note("fwd10");

  ds.MoveBy(-4);  // B
  ds.Insert();
  ds.FieldByName("Name")->SetAsString("X");
  ds.Post();
  note("insert");
  ds.Next();
  ds.Delete();
  note("delete");
  ds.Last();
  ds.Delete();
  note("dellast");
  ds.Append();
  ds.FieldByName("Name")->SetAsString("Z");
  ds.Post();
  note("append");
  ds.First();
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("Q");
  ds.Cancel();
  note("cancel");
  ds.Next();
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("Y");
  ds.Post();
  note("edit");
  trace += Listing(ds);

  EXPECT_EQ(trace,
            "first=A^ next2=C by2=E prior=D last=F$ past=F$ back4=B back9=A^ fwd10=F$ "
            "insert=X delete=C dellast=E append=Z cancel=A edit=Y AYCDEZ");
  EXPECT_EQ(ds.RecordCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowTest, ::testing::Values(1, 2, 3, 4, 10));

TEST(DataSetNavigation, ActiveRecordKeepsItsPlaceInTheWindowOrGoesToTheMiddle) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.SetWindowSize(5);
  ds.Open();
  AddPeople(ds, kSix);
  ds.First();
  ds.MoveBy(3);  // D, fourth in the window A..E
  EXPECT_EQ(ds.ActiveRecord(), 3);
  ds.Edit();
  ds.FieldByName("Qty")->SetAsInteger(0);
  ds.Post();
  EXPECT_EQ(ds.ActiveRecord(), 3);
  EXPECT_EQ(Name(ds), "D");
  ds.Prior();
  TBookmark c = ds.GetBookmark();
  ds.First();
  ds.GotoBookmark(c);
  EXPECT_EQ(ds.ActiveRecord(), 2);  // centred: A B [C] D E
  EXPECT_EQ(ds.WindowCount(), 5);
  ds.Prior();
  ds.Prior();
  EXPECT_EQ(Name(ds), "A");
  EXPECT_EQ(ds.ActiveRecord(), 0);
}

TEST(DataSetNavigation, EmptyDataSetIsAtBothEndsAndEditStartsAnInsert) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.SetName("People");
  ds.Open();
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.Bof());
  EXPECT_TRUE(ds.Eof());
  ds.First();
  EXPECT_EQ(ds.MoveBy(1), 0);
  EXPECT_TRUE(ds.FieldByName("Name")->IsNull());
  try {
    ds.Delete();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Cannot perform this operation on an empty dataset");
  }

  ds.Edit();
  EXPECT_EQ(ds.State(), dsInsert);
  ds.FieldByName("Name")->SetAsString("First");
  ds.Post();
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_FALSE(ds.IsEmpty());
  EXPECT_EQ(ds.RecordCount(), 1);
  EXPECT_EQ(Name(ds), "First");

  // Cancelling an insert into an empty set leaves it empty.
  TMemoryDataSet empty(nullptr, PeopleColumns());
  empty.Open();
  empty.Edit();
  empty.FieldByName("Name")->SetAsString("Gone");
  empty.Cancel();
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.RowCount(), 0);
}

TEST(DataSetNavigation, ClosedDataSetRefusesWork) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.SetName("People");
  for (auto op : {+[](TDataSet& d) { d.First(); }, +[](TDataSet& d) { d.Next(); },
                  +[](TDataSet& d) { d.Edit(); }, +[](TDataSet& d) { d.Append(); }, +[](TDataSet& d) { d.Delete(); },
                  +[](TDataSet& d) { d.Resync(0); }, +[](TDataSet& d) { d.Locate("ID", 1, 0); }}) {
    try {
      op(ds);
      FAIL();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), "People: Cannot perform this operation on a closed dataset");
    }
  }
}

// --- opening ------------------------------------------------------------------------------------

TEST(DataSetOpen, EventsOfOpenAndCloseComeInOrder) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.Open();
  AddPeople(ds, {{1, "A", "Paris", 1}});
  ds.Close();
  String events;
  ds.BeforeOpen = [&](TDataSet*) { events += "BeforeOpen "; };
  ds.AfterOpen = [&](TDataSet*) { events += "AfterOpen "; };
  ds.AfterScroll = [&](TDataSet*) { events += "AfterScroll "; };
  ds.BeforeClose = [&](TDataSet*) { events += "BeforeClose "; };
  ds.AfterClose = [&](TDataSet*) { events += "AfterClose "; };
  ds.Open();
  EXPECT_EQ(Name(ds), "A");
  EXPECT_TRUE(ds.DefaultFields());
  ds.Close();
  EXPECT_EQ(events, "BeforeOpen AfterOpen AfterScroll BeforeClose AfterClose ");
  EXPECT_EQ(ds.FieldCount(), 0);  // default fields go with the cursor
  EXPECT_EQ(ds.CursorsHeld, 0);
}

TEST(DataSetOpen, FailedOpenLeavesTheDataSetClosedAndItsCursorReleased) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.SetName("People");
  bool afterOpen = false;
  ds.AfterOpen = [&](TDataSet*) { afterOpen = true; };

  ds.FailOpen = true;
  try {
    ds.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Cannot open the rows");
  }
  EXPECT_FALSE(ds.Active());
  EXPECT_EQ(ds.State(), dsInactive);
  EXPECT_EQ(ds.CursorsHeld, 0);
  EXPECT_FALSE(afterOpen);

  // A persistent field that the source does not have stops the open after
  // the cursor was taken.
  ds.FailOpen = false;
  TStringField stray(nullptr);
  stray.SetFieldName("Missing");
  stray.SetDataSet(&ds);
  try {
    ds.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Field 'Missing' not found");
  }
  EXPECT_FALSE(ds.Active());
  EXPECT_EQ(ds.CursorsHeld, 0);
  EXPECT_EQ(stray.FieldNo(), 0);

  // A BeforeOpen that fails opens nothing at all.
  stray.SetDataSet(nullptr);
  ds.BeforeOpen = [](TDataSet*) { DatabaseError("Access denied"); };
  EXPECT_THROW(ds.Open(), EDatabaseError);
  EXPECT_FALSE(ds.Active());
  EXPECT_EQ(ds.CursorsHeld, 0);

  ds.BeforeOpen = nullptr;
  ds.Open();
  EXPECT_TRUE(ds.Active());
  EXPECT_TRUE(afterOpen);
  EXPECT_EQ(ds.CursorsHeld, 1);
}

TEST(DataSetOpen, InitFieldDefsReadsTheDefinitionsWithoutOpening) {
  TMemoryDataSet ds(nullptr, PeopleColumns());
  ds.InitFieldDefs();
  EXPECT_FALSE(ds.Active());
  EXPECT_EQ(ds.CursorsHeld, 0);
  ASSERT_EQ(ds.FieldDefs().Count(), 4);
  EXPECT_EQ(ds.FieldDefs().Find("qty")->DataType(), ftSmallint);
  EXPECT_EQ(ds.FieldDefs().Find("City")->FieldNo(), 3);
}

// --- bookmarks -------------------------------------------------------------------------------------

TEST_F(PeopleTest, BookmarksReturnToTheirRecord) {
  ds.MoveBy(2);
  TBookmark c = ds.GetBookmark();
  ASSERT_EQ(c.size(), 4u);
  ds.Last();
  TBookmark f = ds.GetBookmark();
  int scrolls = 0;
  ds.AfterScroll = [&](TDataSet*) { ++scrolls; };
  ds.GotoBookmark(c);
  EXPECT_EQ(Name(ds), "C");
  EXPECT_EQ(scrolls, 1);
  EXPECT_TRUE(ds.BookmarkValid(c));
  EXPECT_LT(ds.CompareBookmarks(c, f), 0);
  EXPECT_GT(ds.CompareBookmarks(f, c), 0);
  EXPECT_EQ(ds.CompareBookmarks(c, ds.GetBookmark()), 0);
  EXPECT_LT(ds.CompareBookmarks(TBookmark(), c), 0);

  ds.GotoBookmark(TBookmark());  // no bookmark: stays
  EXPECT_EQ(Name(ds), "C");
  try {
    ds.GotoBookmark(TBookmark{1, 2});
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Invalid bookmark");
  }

  ds.Delete();
  EXPECT_EQ(Name(ds), "D");
  EXPECT_FALSE(ds.BookmarkValid(c));
  EXPECT_THROW(ds.GotoBookmark(c), EDatabaseError);
  ds.FreeBookmark(c);
  EXPECT_TRUE(c.empty());
}

TEST_F(PeopleTest, BookmarkIsEmptyWhileInserting) {
  ds.Insert();
  EXPECT_TRUE(ds.GetBookmark().empty());
  ds.Cancel();
  EXPECT_EQ(Name(ds), "A");
}

// --- filters and searches -----------------------------------------------------------------------

TEST_F(PeopleTest, FilterRecordEventChoosesTheRecords) {
  ds.OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("City")->AsString() == "Paris"; };
  ds.SetFiltered(true);
  EXPECT_EQ(Listing(ds), "ACE");
  EXPECT_EQ(ds.RecordCount(), 3);
  ds.Last();
  EXPECT_EQ(Name(ds), "E");
  EXPECT_EQ(ds.RecNo(), 3);
  ds.SetFiltered(false);
  EXPECT_EQ(Listing(ds), "ABCDEF");
}

TEST_F(PeopleTest, FindMovesToTheRecordsTheFilterEventAccepts) {
  ds.OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("Qty")->AsInteger() == 3; };
  EXPECT_TRUE(ds.FindFirst());
  EXPECT_EQ(Name(ds), "A");
  EXPECT_TRUE(ds.FindNext());
  EXPECT_EQ(Name(ds), "D");
  EXPECT_FALSE(ds.FindNext());
  EXPECT_EQ(Name(ds), "D");
  EXPECT_TRUE(ds.FindPrior());
  EXPECT_EQ(Name(ds), "A");
  EXPECT_TRUE(ds.FindLast());
  EXPECT_EQ(Name(ds), "D");
}

TEST_F(PeopleTest, LocateMovesToTheFirstMatchAndStaysWhenThereIsNone) {
  int scrolls = 0;
  ds.AfterScroll = [&](TDataSet*) { ++scrolls; };
  struct Case {
    const char* fields;
    Variant values;
    TLocateOptions options;
    const char* found;  // nullptr: not found
  };
  const Case cases[] = {
      {"Name", "d", loCaseInsensitive, "D"},
      {"Name", "d", 0, nullptr},
      {"City", "Pa", loPartialKey, "A"},
      {"City", "pa", loPartialKey, nullptr},
      {"City", "pa", loPartialKey | loCaseInsensitive, "A"},
      {"City;Qty", VarArrayOf({"Paris", 2}), 0, "E"},
      {"City;Qty", VarArrayOf({"Paris", 4}), 0, nullptr},
      {"ID", 6, 0, "F"},
      {"ID", "4", 0, "D"},
      {"Qty", VarArrayOf({8}), 0, "F"},
  };
  for (const Case& c : cases) {
    ds.First();
    ds.Next();  // B
    scrolls = 0;
    bool found = ds.Locate(c.fields, c.values, c.options);
    EXPECT_EQ(found, c.found != nullptr) << c.fields;
    EXPECT_EQ(Name(ds), c.found ? c.found : "B") << c.fields;
    EXPECT_EQ(scrolls, found ? 1 : 0);
  }
  EXPECT_EQ(Listing(ds), "ABCDEF");
  try {
    ds.Locate("Nope", 1, 0);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Field 'Nope' not found");
  }
  EXPECT_THROW(ds.Locate("City;Qty", "Paris", 0), EDatabaseError);
  EXPECT_THROW(ds.Locate("", "A", 0), EDatabaseError);
}

TEST_F(PeopleTest, LookupReturnsValuesWithoutMoving) {
  ds.MoveBy(1);
  Variant values = ds.Lookup("ID", 5, "Name;Qty");
  ASSERT_TRUE(VarIsArray(values));
  EXPECT_EQ(VarArrayGet(values, 0).AsString(), "E");
  EXPECT_EQ(VarArrayGet(values, 1).AsInteger(), 2);
  EXPECT_EQ(ds.Lookup("Name", "C", "City").AsString(), "Paris");
  EXPECT_TRUE(VarIsNull(ds.Lookup("Name", "Nobody", "City")));
  EXPECT_EQ(Name(ds), "B");
  ds.Next();
  EXPECT_EQ(Name(ds), "C");
}

// --- data sources, links, Resync -------------------------------------------------------------

class TRecordingLink : public TDataLink {
 public:
  String events;

 protected:
  void ActiveChanged() override { events += Active() ? "active " : "inactive "; }
  void RecordChanged(TField* field) override { events += field ? "field:" + field->FieldName() + " " : "record "; }
  void DataSetChanged() override { events += "changed "; }
  void CheckBrowseMode() override { events += "check "; }
};

TEST_F(PeopleTest, DataSourcePassesEventsToItsLinks) {
  TDataSource source(nullptr);
  TRecordingLink link;
  link.SetDataSource(&source);
  EXPECT_FALSE(link.Active());
  source.SetDataSet(&ds);
  EXPECT_TRUE(link.Active());
  ds.Next();
  ds.Edit();
  ds.FieldByName("Qty")->SetAsInteger(9);
  ds.Post();
  EXPECT_EQ(link.events, "active check changed check record field:Qty check changed ");

  link.events.clear();
  source.SetEnabled(false);
  ds.Next();
  source.SetEnabled(true);
  EXPECT_EQ(link.events, "inactive active ");

  link.events.clear();
  ds.Close();
  EXPECT_EQ(link.events, "inactive ");
}

TEST_F(PeopleTest, DisabledControlsHearOneChangeWhenEnabledAgain) {
  TDataSource source(nullptr);
  source.SetDataSet(&ds);
  TRecordingLink link;
  link.SetDataSource(&source);
  link.events.clear();

  ds.DisableControls();
  ds.DisableControls();
  ds.Next();
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("b");
  ds.Post();
  ds.EnableControls();
  EXPECT_EQ(link.events, "");
  ds.EnableControls();
  EXPECT_EQ(link.events, "changed ");
  EXPECT_FALSE(ds.ControlsDisabled());

  link.events.clear();
  ds.DisableControls();
  ds.Close();
  ds.EnableControls();
  EXPECT_EQ(link.events, "inactive ");
}

TEST_F(PeopleTest, MasterLinkFollowsTheMastersRecord) {
  TMemoryDataSet detail(nullptr, PeopleColumns());
  detail.Open();
  TDataSource source(nullptr);
  source.SetDataSet(&ds);
  TMasterDataLink link(&detail);
  String seen;
  link.OnMasterChange = [&](TObject* sender) {
    auto* l = static_cast<TMasterDataLink*>(sender);
    seen += "change:" + l->Fields()[0]->AsString() + " ";
  };
  link.OnMasterDisable = [&](TObject*) { seen += "disable "; };
  link.SetFieldNames("ID");
  link.SetDataSource(&source);
  ASSERT_EQ(link.Fields().size(), 1u);
  ds.Next();
  ds.Last();
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("f");  // not a link field
  ds.FieldByName("ID")->SetAsInteger(60);
  ds.Post();
  try {
    link.SetFieldNames("Nope");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "People: Field 'Nope' not found");
  }
  EXPECT_EQ(link.FieldNames(), "ID");
  ds.Close();
  // Without a master the detail hears "disable" from the start.
  EXPECT_EQ(seen, "disable change:1 change:2 change:6 change:6 change:60 change:60 disable ");
  EXPECT_TRUE(link.Fields().empty());
}

TEST(DataSetLinks, CircularLinksAreRefused) {
  TMemoryDataSet a(nullptr, PeopleColumns()), b(nullptr, PeopleColumns());
  a.SetName("A");
  TDataSource sourceOfA(nullptr), sourceOfB(nullptr);
  sourceOfA.SetDataSet(&a);
  b.MasterSource = &sourceOfA;  // b follows a
  EXPECT_TRUE(a.IsLinkedTo(&sourceOfA));
  EXPECT_FALSE(b.IsLinkedTo(&sourceOfA));
  sourceOfB.SetDataSet(&b);
  EXPECT_TRUE(a.IsLinkedTo(&sourceOfB));
  EXPECT_TRUE(b.IsLinkedTo(&sourceOfB));

  TDataSource loose(nullptr);
  a.MasterSource = &loose;  // a would follow b through loose
  try {
    loose.SetDataSet(&b);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Circular datalinks are not allowed");
  }
  EXPECT_EQ(loose.DataSet(), nullptr);
}

TEST_F(PeopleTest, RefreshAndResyncSeeRecordsThatWentBehindTheDataSetsBack) {
  ds.MoveBy(2);  // C
  ds.EraseRowBehindTheBack(2);
  EXPECT_EQ(Name(ds), "C");  // the window still holds it
  ds.Refresh();
  EXPECT_EQ(Name(ds), "D");
  ds.Last();
  ds.EraseRowBehindTheBack(ds.RowCount() - 1);
  EXPECT_THROW(ds.Resync(rmExact), EDatabaseError);
  ds.Resync(0);
  EXPECT_EQ(Name(ds), "E");
  EXPECT_EQ(Listing(ds), "ABDE");
}

}  // namespace
