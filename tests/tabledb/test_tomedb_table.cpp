// The table data set on real files: index order, appends and edits kept in
// the data set's own record list, filters, master ranges, Locate and
// Lookup, record numbers, blob values, and the field rules of the data set
// base (empty values of new and cleared fields).
#include <gtest/gtest.h>

#include <memory>

#include "platform/DataLinks.h"
#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBSession.h"
#include "tabledb/TomeDBTable.h"

using testing_support::TempDir;

namespace {

constexpr char kTableSchema[] = R"(
table People
  field Id autoinc
  field Name string 20
  field City string 20
  field Age smallint
  field Born date
  field Seen datetime
  field Note memo
  index PK Id primary unique
  index ByName Name caseinsensitive
  index ByCityAge City,Age
table Plain
  field Code integer
  field Label string 10
)";

struct Person {
  const char* name;
  const char* city;
  int age;
};

const Person kPeople[] = {
    {"Mira", "Lyon", 41}, {"abel", "Paris", 23}, {"Zoe", "Lyon", 35}, {"Hugo", "Nantes", 41}, {"Ines", "Paris", 58},
};

class TomeDBTable : public testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_.File("people.tdb");
    CreateTomeDatabase(file_, ParseTomeSchema(kTableSchema));
    auto t = Open("People");
    for (const Person& p : kPeople) {
      t->Append();
      t->FieldByName("Name")->SetAsString(p.name);
      t->FieldByName("City")->SetAsString(p.city);
      t->FieldByName("Age")->SetAsInteger(p.age);
      t->Post();
    }
  }

  std::unique_ptr<TTomeTable> Open(const String& table, const String& index = String()) {
    auto t = std::make_unique<TTomeTable>(nullptr);
    t->SetDatabaseName(file_);
    t->SetTableName(table);
    t->SetIndexName(index);
    t->Open();
    return t;
  }

  // The values of a field in the order the data set presents its records.
  static std::vector<String> Column(TTomeTable& t, const char* field) {
    std::vector<String> values;
    for (t.First(); !t.Eof(); t.Next()) values.push_back(t.FieldByName(field)->AsString());
    return values;
  }

  TempDir dir_;
  String file_;
};

using Texts = std::vector<String>;

TEST_F(TomeDBTable, IndexOrderFollowsIndexName) {
  auto t = Open("People");
  EXPECT_EQ(t->CurrentIndex(), 0);  // the primary index
  EXPECT_EQ(Column(*t, "Id"), (Texts{"1", "2", "3", "4", "5"}));
  t->SetIndexName("BYNAME");
  EXPECT_EQ(Column(*t, "Name"), (Texts{"abel", "Hugo", "Ines", "Mira", "Zoe"}));
  t->SetIndexName("ByCityAge");
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Zoe", "Mira", "Hugo", "abel", "Ines"}));
  // An unknown name selects the primary index; a table without one shows
  // natural order.
  t->SetIndexName("NoSuchIndex");
  EXPECT_EQ(t->CurrentIndex(), 0);
  auto plain = Open("Plain", "ByName");
  EXPECT_EQ(plain->CurrentIndex(), -1);
  EXPECT_EQ(t->IndexDefs().Count(), 3);
  EXPECT_EQ(t->IndexDefs()[2]->Fields(), "City,Age");
  EXPECT_EQ(t->IndexDefs()[0]->Options(), ixPrimary | ixUnique);
}

TEST_F(TomeDBTable, WritesPlaceRecordsByKeyInTheDataSetsOwnList) {
  auto byName = Open("People", "ByName");
  auto other = Open("People", "ByName");
  // Another data set appends first: its storage positions no longer match
  // this data set's list, which still holds five records.
  other->Append();
  other->FieldByName("Name")->SetAsString("Aaron");
  other->Post();
  byName->Append();
  byName->FieldByName("Name")->SetAsString("Karl");
  byName->Post();
  EXPECT_EQ(byName->FieldByName("Name")->AsString(), "Karl");
  EXPECT_EQ(Column(*byName, "Name"), (Texts{"abel", "Hugo", "Ines", "Karl", "Mira", "Zoe"}));
  // An edit that changes the key moves the record to its new place.
  ASSERT_TRUE(byName->Locate("Name", Variant("Hugo"), 0));
  byName->Edit();
  byName->FieldByName("Name")->SetAsString("Yann");
  byName->Post();
  EXPECT_EQ(byName->FieldByName("Name")->AsString(), "Yann");
  EXPECT_EQ(byName->RecNo(), 5);
  EXPECT_EQ(Column(*byName, "Name"), (Texts{"abel", "Ines", "Karl", "Mira", "Yann", "Zoe"}));
  byName->Refresh();
  EXPECT_EQ(Column(*byName, "Name"), (Texts{"Aaron", "abel", "Ines", "Karl", "Mira", "Yann", "Zoe"}));
  ASSERT_TRUE(byName->Locate("Name", Variant("Karl"), 0));
  byName->Delete();
  EXPECT_EQ(Column(*byName, "Name"), (Texts{"Aaron", "abel", "Ines", "Mira", "Yann", "Zoe"}));
  byName->Close();
  other->Close();
  EXPECT_EQ(CheckTomeDatabase(file_, ""), std::vector<String>());
}

// After a post the data set shows the appended record with the number it
// got; a later read sees what another writer changed since.
TEST_F(TomeDBTable, APostedRecordShowsAsStoredAndLaterReadsSeeOthersChanges) {
  auto mine = Open("People");
  mine->Append();
  mine->FieldByName("Name")->SetAsString("Nadia");
  mine->FieldByName("City")->SetAsString("Rennes");
  mine->Post();
  EXPECT_EQ(mine->FieldByName("Id")->AsString(), "6");
  EXPECT_EQ(mine->FieldByName("Name")->AsString(), "Nadia");

  auto plain = Open("Plain");
  plain->Append();
  plain->FieldByName("Code")->SetAsInteger(7);
  plain->FieldByName("Label")->SetAsString("seven");
  plain->Post();
  EXPECT_EQ(plain->FieldByName("Code")->AsInteger(), 7);
  EXPECT_EQ(plain->FieldByName("Label")->AsString(), "seven");
  auto other = Open("Plain");
  ASSERT_EQ(other->RecordCount(), 1);
  other->Edit();
  other->FieldByName("Label")->SetAsString("changed");
  other->Post();
  plain->First();
  EXPECT_EQ(plain->FieldByName("Label")->AsString(), "changed");
}

TEST_F(TomeDBTable, FiltersSelectRecordsAndKeepTheOldFilterOnError) {
  auto t = Open("People");
  t->SetFilter("City = 'Paris' or Age > 40");
  t->SetFiltered(true);
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Mira", "abel", "Hugo", "Ines"}));
  t->SetFilter("Name like '%o%'");
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Zoe", "Hugo"}));
  // A syntax error raises at once and leaves the filter in force.
  EXPECT_THROW(t->SetFilter("Name like"), EDatabaseError);
  EXPECT_EQ(t->Filter(), "Name like '%o%'");
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Zoe", "Hugo"}));
  // Setting Filtered to its value still goes to the first record.
  t->Last();
  t->SetFiltered(true);
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Zoe");
  // Appending while filtered keeps the record in the list at its key.
  t->Append();
  t->FieldByName("Name")->SetAsString("Kim");
  t->Post();
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Zoe", "Hugo", "Kim"}));
  // OnFilterRecord joins the filter text.
  t->OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("Age")->AsInteger() > 40; };
  t->Refresh();
  EXPECT_EQ(Column(*t, "Name"), (Texts{"Hugo"}));
  t->SetFiltered(false);
  EXPECT_EQ(t->RecordCount(), 6);
}

TEST_F(TomeDBTable, AFilteredScanTestsEveryRecordAcrossItsReadBatches) {
  // Enough records for several read batches; every fifth label stays empty.
  constexpr int kRecords = 10000;
  auto t = Open("Plain");
  for (int i = 0; i < kRecords; ++i) {
    t->Append();
    t->FieldByName("Code")->SetAsInteger(i);
    if (i % 5 != 0) t->FieldByName("Label")->SetAsString(Format("n%d", {i % 97}));
    t->Post();
  }
  t->SetFilter("Code >= 4000 and (Label like 'n1%' or Label = '')");
  t->SetFiltered(true);
  Texts expected;
  for (int i = 4000; i < kRecords; ++i)
    if (i % 5 == 0 || i % 97 == 1 || (i % 97 >= 10 && i % 97 < 20)) expected.push_back(IntToStr(i));
  EXPECT_EQ(Column(*t, "Code"), expected);
}

TEST_F(TomeDBTable, FindRecordWalksTheFilterWithoutFilteringTheList) {
  auto t = Open("People");
  t->SetFilter("Age = 41");
  ASSERT_TRUE(t->FindFirst());
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Mira");
  ASSERT_TRUE(t->FindNext());
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Hugo");
  EXPECT_FALSE(t->FindNext());
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Hugo");
  ASSERT_TRUE(t->FindPrior());
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Mira");
  EXPECT_EQ(t->RecordCount(), 5);
}

TEST_F(TomeDBTable, LocateAndLookupWithAndWithoutIndex) {
  auto t = Open("People");
  struct Case {
    const char* fields;
    Variant values;
    TLocateOptions options;
    const char* found;  // nullptr: not found
  };
  const Case cases[] = {
      {"Name", Variant("ZOE"), loCaseInsensitive, "Zoe"},  // ByName, binary search
      {"Name", Variant("ZOE"), 0, nullptr},                // case matters: scan finds none
      {"Name", Variant("In"), loCaseInsensitive | loPartialKey, "Ines"},
      {"City;Age", VarArrayOf({Variant("Paris"), Variant(58)}), 0, "Ines"},  // ByCityAge
      {"Age", Variant(41), 0, "Mira"},                                       // scan, first in list order
      {"Id", Variant(4), 0, "Hugo"},
      {"City", Variant("Par"), loPartialKey, "abel"},
      {"City", Variant("Rome"), 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    t->First();
    const bool found = t->Locate(c.fields, c.values, c.options);
    EXPECT_EQ(found, c.found != nullptr);
    EXPECT_EQ(t->FieldByName("Name")->AsString(), c.found ? c.found : "Mira");
  }
  // Lookup leaves the cursor where it is.
  t->First();
  EXPECT_EQ(VarToStr(t->Lookup("Id", Variant(3), "Name")), "Zoe");
  EXPECT_TRUE(VarIsNull(t->Lookup("Name", Variant("Nobody"), "Id")));
  const Variant both = t->Lookup("Name", Variant("Hugo"), "City;Age");
  EXPECT_EQ(VarToStr(VarArrayGet(both, 0)), "Nantes");
  EXPECT_EQ(VarToStr(VarArrayGet(both, 1)), "41");
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Mira");
}

TEST_F(TomeDBTable, DetailFollowsMasterRange) {
  auto master = Open("People", "ByName");
  auto detail = std::make_unique<TTomeTable>(nullptr);
  detail->SetDatabaseName(file_);
  detail->SetTableName("People");
  detail->SetIndexName("ByCityAge");
  TDataSource source(nullptr);
  source.SetDataSet(master.get());
  detail->SetMasterSource(&source);
  detail->SetMasterFields("City");
  detail->Open();
  ASSERT_TRUE(master->Locate("Name", Variant("Mira"), 0));
  EXPECT_TRUE(detail->RangeActive());
  EXPECT_EQ(Column(*detail, "Name"), (Texts{"Zoe", "Mira"}));
  master->First();  // abel, Paris
  EXPECT_EQ(Column(*detail, "Name"), (Texts{"abel", "Ines"}));
  ASSERT_TRUE(master->Locate("Name", Variant("Hugo"), 0));
  EXPECT_EQ(Column(*detail, "Name"), (Texts{"Hugo"}));
  // The range stays after a refresh; closing the master lifts it.
  detail->Refresh();
  EXPECT_EQ(Column(*detail, "Name"), (Texts{"Hugo"}));
  master->Close();
  EXPECT_FALSE(detail->RangeActive());
  EXPECT_EQ(detail->RecordCount(), 5);
  EXPECT_THROW(master->SetMasterSource(&source), EDatabaseError);  // circular
  detail->Close();
}

TEST_F(TomeDBTable, RecordNumbersAndBookmarks) {
  auto t = Open("People", "ByName");
  EXPECT_EQ(t->RecNo(), 1);
  t->SetRecNo(4);
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Mira");
  EXPECT_EQ(t->RecNo(), 4);
  for (int ignored : {0, -1, 6}) {
    t->SetRecNo(ignored);
    EXPECT_EQ(t->RecNo(), 4);
  }
  const TBookmark mark = t->GetBookmark();
  t->First();
  t->GotoBookmark(mark);
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Mira");
  const int32_t gone = 99;
  EXPECT_THROW(t->GotoBookmark(TBookmark(reinterpret_cast<const uint8_t*>(&gone),
                                         reinterpret_cast<const uint8_t*>(&gone) + 4)),
               EDatabaseError);
}

TEST_F(TomeDBTable, NewAndClearedFieldsHoldTheirTypesEmptyValue) {
  auto t = Open("People");
  t->Append();
  // A new record: today's date, the date-time 1899-12-30 00:00.
  EXPECT_EQ(t->FieldByName("Born")->AsDateTime(), Date());
  EXPECT_EQ(t->FieldByName("Seen")->AsDateTime(), 0.0);
  t->Cancel();
  t->Last();
  t->Edit();
  t->FieldByName("Born")->SetAsDateTime(EncodeDate(1968, 5, 1));
  t->FieldByName("Age")->SetValue(Null());
  t->FieldByName("City")->Clear();
  t->FieldByName("Born")->Clear();
  EXPECT_EQ(t->FieldByName("Age")->AsInteger(), 0);
  EXPECT_FALSE(t->FieldByName("Age")->IsNull());
  t->Post();
  EXPECT_EQ(t->FieldByName("Age")->AsInteger(), 0);
  EXPECT_EQ(t->FieldByName("City")->AsString(), "");
  EXPECT_EQ(t->FieldByName("Born")->AsDateTime(), 0.0);
}

TEST_F(TomeDBTable, BlobValuesLoadWhenReadAndSurviveEdits) {
  const String big(100000, 'x');
  {
    auto t = Open("People");
    t->First();
    t->Edit();
    t->FieldByName("Note")->SetAsString(big);
    t->Post();
    t->Next();
    t->Edit();
    t->FieldByName("Note")->SetAsString("short");
    t->Post();
  }
  auto t = Open("People");
  t->First();
  // An edit that does not touch the blob keeps it.
  t->Edit();
  t->FieldByName("Age")->SetAsInteger(42);
  t->Post();
  EXPECT_EQ(t->FieldByName("Note")->AsString(), big);
  t->Next();
  EXPECT_EQ(t->FieldByName("Note")->AsString(), "short");
  t->Edit();
  t->FieldByName("Note")->Clear();
  t->Post();
  EXPECT_TRUE(t->FieldByName("Note")->IsNull());
  t->Next();
  EXPECT_TRUE(t->FieldByName("Note")->IsNull());
  t->Close();
  EXPECT_EQ(CheckTomeDatabase(file_, ""), std::vector<String>());
}

// An edit that does not read a blob key leaves its value unloaded; the
// unique check and the record's place in the index still go by the stored
// value, not by an empty one (which another record holds here).
TEST(TomeDBTableBlobKey, EditKeepsTheStoredKeyOfAnUnloadedBlob) {
  TempDir dir;
  const String file = dir.File("tags.tdb");
  CreateTomeDatabase(file, ParseTomeSchema("table T\n field Id integer\n field Tag memo\n index ByTag Tag unique\n"));
  const char* const tags[] = {"", "a", "b", "c"};
  auto open = [&] {
    auto t = std::make_unique<TTomeTable>(nullptr);
    t->SetDatabaseName(file);
    t->SetTableName("T");
    t->SetIndexName("ByTag");
    t->Open();
    return t;
  };
  {
    auto t = open();
    for (int i = 0; i < 4; ++i) {
      t->Append();
      t->FieldByName("Id")->SetAsInteger(i + 1);
      t->FieldByName("Tag")->SetAsString(tags[i]);
      t->Post();
    }
  }
  auto t = open();
  t->Last();
  t->Edit();
  t->FieldByName("Id")->SetAsInteger(40);
  t->Post();
  std::vector<int> ids;
  for (t->First(); !t->Eof(); t->Next()) ids.push_back(t->FieldByName("Id")->AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 40}));
  t->Close();
  t = open();
  ids.clear();
  for (t->First(); !t->Eof(); t->Next()) ids.push_back(t->FieldByName("Id")->AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 40}));
  t->Close();
  EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>());
}

TEST_F(TomeDBTable, OpenErrorsLeaveTheTableClosed) {
  auto t = std::make_unique<TTomeTable>(nullptr);
  t->SetDatabaseName(file_);
  t->SetTableName("Nothing");
  try {
    t->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Table 'Nothing' not found");
  }
  EXPECT_FALSE(t->Active());
  EXPECT_EQ(Session()->FindDatabase(file_), nullptr);
  // DatabaseName clears TableName; TableName cannot change while open.
  t->SetTableName("People");
  t->SetDatabaseName(file_);
  EXPECT_EQ(t->TableName(), "");
  t->SetTableName("People");
  t->Open();
  EXPECT_THROW(t->SetTableName("Plain"), EDatabaseError);
  EXPECT_THROW(t->SetDatabaseName("other"), EDatabaseError);
}

}  // namespace
