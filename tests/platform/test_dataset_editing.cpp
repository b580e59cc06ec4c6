// Editing through the data-set framework: the events around Edit, Insert,
// Post, Cancel and Delete, the errors of the wrong state, required and
// read-only fields, the error events' retry and abort, and calculated and
// lookup fields.
#include <gtest/gtest.h>

#include "test_dataset_memory.h"

namespace {

std::vector<TColumn> ItemColumns() {
  return {{"ID", ftInteger, 0, true}, {"Name", ftString, 10}, {"Qty", ftInteger}, {"CityCode", ftString, 3}};
}

class ItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds.SetName("Items");
    ds.Open();
    Add(1, "pen", 3);
    Add(2, "ink", 5);
    ds.First();
  }
  void Add(int id, const char* name, int qty) {
    ds.Append();
    ds.FieldByName("ID")->SetAsInteger(id);
    ds.FieldByName("Name")->SetAsString(name);
    ds.FieldByName("Qty")->SetAsInteger(qty);
    ds.Post();
  }
  void Record(const char* name, TDataSetNotifyEvent& event) {
    event = [this, name](TDataSet*) { events += String(name) + " "; };
  }
  void RecordAll() {
    Record("BeforeEdit", ds.BeforeEdit);
    Record("AfterEdit", ds.AfterEdit);
    Record("BeforeInsert", ds.BeforeInsert);
    Record("AfterInsert", ds.AfterInsert);
    Record("OnNewRecord", ds.OnNewRecord);
    Record("BeforePost", ds.BeforePost);
    Record("AfterPost", ds.AfterPost);
    Record("BeforeCancel", ds.BeforeCancel);
    Record("AfterCancel", ds.AfterCancel);
    Record("BeforeDelete", ds.BeforeDelete);
    Record("AfterDelete", ds.AfterDelete);
    Record("BeforeScroll", ds.BeforeScroll);
    Record("AfterScroll", ds.AfterScroll);
  }
  String Names() {
    String out;
    for (ds.First(); !ds.Eof(); ds.Next()) out += ds.FieldByName("Name")->AsString() + ",";
    return out;
  }

  TMemoryDataSet ds{nullptr, ItemColumns()};
  String events;
};

TEST_F(ItemsTest, EditingOperationsFireTheirEventsInOrder) {
  RecordAll();
  ds.Edit();
  ds.FieldByName("Qty")->SetAsInteger(4);
  EXPECT_TRUE(ds.Modified());
  ds.Post();
  EXPECT_EQ(events, "BeforeEdit AfterEdit BeforePost AfterPost ");

  events.clear();
  ds.Insert();
  ds.Cancel();
  EXPECT_EQ(events, "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll BeforeCancel AfterCancel ");

  events.clear();
  ds.Delete();
  EXPECT_EQ(events, "BeforeDelete BeforeScroll AfterDelete AfterScroll ");
  EXPECT_EQ(ds.FieldByName("Name")->AsString(), "ink");
}

TEST_F(ItemsTest, PostedValuesSurviveReopeningAndCancelledOnesAreGone) {
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("pencil");
  ds.Post();
  ds.Next();
  ds.Edit();
  ds.FieldByName("Name")->SetAsString("lost");
  ds.Cancel();
  EXPECT_EQ(ds.FieldByName("Name")->AsString(), "ink");
  ds.Close();
  ds.Open();
  EXPECT_EQ(Names(), "pencil,ink,");
}

TEST_F(ItemsTest, CheckBrowseModePostsAModifiedRecordAndCancelsAnUntouchedOne) {
  ds.OnNewRecord = [](TDataSet* d) { d->FieldByName("Qty")->SetAsInteger(1); };
  ds.Append();
  EXPECT_FALSE(ds.Modified());  // defaults from OnNewRecord are no edit
  ds.Next();                    // leaves the untouched insert
  EXPECT_EQ(ds.RowCount(), 2);

  ds.Append();
  ds.FieldByName("ID")->SetAsInteger(3);
  ds.First();  // posts it
  EXPECT_EQ(ds.RowCount(), 3);
  ds.Last();
  EXPECT_EQ(ds.FieldByName("Qty")->AsInteger(), 1);
}

TEST_F(ItemsTest, InsertGoesBeforeTheActiveRecordAndAppendAfterTheLast) {
  ds.Next();
  ds.Insert();
  ds.FieldByName("ID")->SetAsInteger(10);
  ds.FieldByName("Name")->SetAsString("cap");
  ds.Post();
  ds.Append();
  ds.FieldByName("ID")->SetAsInteger(11);
  ds.FieldByName("Name")->SetAsString("nib");
  ds.Post();
  ds.First();
  ds.Insert();
  ds.FieldByName("ID")->SetAsInteger(12);
  ds.FieldByName("Name")->SetAsString("box");
  ds.Post();
  EXPECT_EQ(Names(), "box,pen,cap,ink,nib,");
}

TEST_F(ItemsTest, WrongStatesAndReadOnlyThingsAreRefused) {
  struct Case {
    const char* what;
    std::function<void()> action;
    const char* message;
  };
  const Case cases[] = {
      {"post while browsing", [&] { ds.Post(); }, "Items: Dataset not in edit or insert mode"},
      {"assign while browsing", [&] { ds.FieldByName("Qty")->SetAsInteger(1); },
       "Items: Dataset not in edit or insert mode"},
      {"clear while browsing", [&] { ds.FieldByName("Name")->Clear(); }, "Items: Dataset not in edit or insert mode"},
      {"update while browsing", [&] { ds.UpdateRecord(); }, "Items: Dataset not in edit or insert mode"},
      {"read-only field",
       [&] {
         ds.FieldByName("Name")->SetReadOnly(true);
         ds.Edit();
         ds.FieldByName("Name")->SetAsString("x");
       },
       "Items: Field 'Name' cannot be modified"},
      {"read-only data set",
       [&] {
         ds.ReadOnly = true;
         ds.Edit();
       },
       "Items: Cannot modify a read-only dataset"},
      {"insert into read-only data set",
       [&] {
         ds.ReadOnly = true;
         ds.Append();
       },
       "Items: Cannot modify a read-only dataset"},
      {"unknown field", [&] { ds.FieldByName("Price"); }, "Items: Field 'Price' not found"},
      {"field list", [&] { ds.FieldValues("ID;Price"); }, "Items: Field 'Price' not found"},
  };
  for (const Case& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.what;
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
    ds.Cancel();
    ds.ReadOnly = false;
    ds.FieldByName("Name")->SetReadOnly(false);
  }
  EXPECT_EQ(Names(), "pen,ink,");
}

TEST_F(ItemsTest, RequiredFieldAndPostErrorEventDecideWhatHappens) {
  ds.Append();
  ds.FieldByName("Name")->SetAsString("cup");
  try {
    ds.Post();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Items: Field 'ID' must have a value");
  }
  EXPECT_EQ(ds.State(), dsInsert);  // nothing lost: the insert goes on

  ds.OnPostError = [](TDataSet*, EDatabaseError&, TDataAction& action) { action = daAbort; };
  EXPECT_THROW(ds.Post(), EAbort);
  EXPECT_EQ(ds.State(), dsInsert);

  int calls = 0;
  ds.OnPostError = [&](TDataSet* d, EDatabaseError& e, TDataAction& action) {
    ++calls;
    EXPECT_EQ(e.Message(), "Items: Field 'ID' must have a value");
    d->FieldByName("ID")->SetAsInteger(3);
    action = daRetry;
  };
  ds.Post();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ds.State(), dsBrowse);
  EXPECT_EQ(ds.FieldByName("ID")->AsInteger(), 3);
  EXPECT_EQ(ds.RowCount(), 3);
}

TEST_F(ItemsTest, FieldValuesByNameTakeOneValueOrAnArray) {
  ds.Edit();
  ds.SetFieldValues("Name;Qty", VarArrayOf({"mug", 7}));
  ds.SetFieldValues("ID", 9);
  ds.Post();
  Variant values = ds.FieldValues("ID;Name;Qty");
  EXPECT_EQ(VarArrayGet(values, 0).AsInteger(), 9);
  EXPECT_EQ(VarArrayGet(values, 1).AsString(), "mug");
  EXPECT_EQ(VarArrayGet(values, 2).AsInteger(), 7);
  EXPECT_EQ(ds.FieldValues(" Name ").AsString(), "mug");
}

// --- calculated and lookup fields -------------------------------------------------------------

TEST(DataSetCalcFields, CalculatedFieldsFollowTheRecordAndItsEdits) {
  TMemoryDataSet ds(nullptr, ItemColumns());
  ds.SetName("Items");
  TIntegerField id(nullptr), qty(nullptr);
  TStringField name(nullptr), label(nullptr);
  id.SetFieldName("ID");
  id.SetDataSet(&ds);
  name.SetFieldName("Name");
  name.SetSize(10);
  name.SetDataSet(&ds);
  qty.SetFieldName("Qty");
  qty.SetDataSet(&ds);
  label.SetFieldName("Label");
  label.SetSize(30);
  label.SetFieldKind(fkCalculated);
  label.SetDataSet(&ds);
  int calculations = 0;
  ds.OnCalcFields = [&](TDataSet* d) {
    ++calculations;
    d->FieldByName("Label")->SetAsString(d->FieldByName("Name")->AsString() + " x" + d->FieldByName("Qty")->AsString());
  };
  ds.Open();
  EXPECT_FALSE(ds.DefaultFields());
  EXPECT_EQ(label.FieldNo(), -1);
  EXPECT_EQ(qty.FieldNo(), 3);

  ds.Append();
  id.SetAsInteger(1);
  name.SetAsString("pen");
  qty.SetAsInteger(2);
  EXPECT_EQ(label.AsString(), "pen x2");  // recalculated at each change
  ds.Post();
  EXPECT_EQ(label.AsString(), "pen x2");

  ds.SetAutoCalcFields(false);
  ds.Edit();
  calculations = 0;
  qty.SetAsInteger(5);
  EXPECT_EQ(calculations, 0);
  ds.Post();
  EXPECT_EQ(label.AsString(), "pen x5");

  try {
    ds.Edit();
    label.SetAsString("x");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Items: Dataset not in edit or insert mode");
  }
  ds.Cancel();
  ds.Close();
  EXPECT_EQ(label.FieldNo(), 0);
  EXPECT_EQ(ds.FieldCount(), 4);  // persistent fields stay
}

TEST(DataSetCalcFields, LookupFieldTakesItsValueFromTheOtherDataSet) {
  TMemoryDataSet cities(nullptr, {{"Code", ftString, 3}, {"CityName", ftString, 20}});
  cities.Open();
  for (auto [code, name] : {std::pair{"PAR", "Paris"}, std::pair{"LYS", "Lyon"}}) {
    cities.Append();
    cities.FieldByName("Code")->SetAsString(code);
    cities.FieldByName("CityName")->SetAsString(name);
    cities.Post();
  }

  TMemoryDataSet items(nullptr, ItemColumns());
  items.SetName("Items");
  TIntegerField id(nullptr);
  TStringField code(nullptr), city(nullptr);
  id.SetFieldName("ID");
  id.SetDataSet(&items);
  code.SetFieldName("CityCode");
  code.SetSize(3);
  code.SetDataSet(&items);
  city.SetFieldName("City");
  city.SetFieldKind(fkLookup);
  city.SetDataSet(&items);
  city.SetLookupDataSet(&cities);
  city.SetKeyFields("CityCode");
  city.SetLookupKeyFields("Code");
  try {
    items.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Items: Lookup information for field 'City' is incomplete");
  }
  city.SetLookupResultField("CityName");
  items.Open();

  items.Append();
  id.SetAsInteger(1);
  code.SetAsString("LYS");
  EXPECT_EQ(city.AsString(), "Lyon");
  code.SetAsString("XXX");
  EXPECT_TRUE(city.IsNull());
  code.SetAsString("PAR");
  items.Post();
  EXPECT_EQ(city.AsString(), "Paris");
  EXPECT_EQ(cities.FieldByName("CityName")->AsString(), "Lyon");  // the lookup set kept its place

  items.Close();
  cities.Close();
  items.Open();
  EXPECT_TRUE(city.IsNull());  // a closed lookup set gives nothing
}

}  // namespace
