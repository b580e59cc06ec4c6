// Fields and their conversions, blob values, field and index definitions,
// and the binding of fields to definitions.
#include <gtest/gtest.h>

#include <cmath>

#include "test_dataset_memory.h"

namespace {

// Texts of dates, times and numbers in the default (English, United States)
// conventions, whatever the machine's locale.
class FieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FormatSettings();
    FormatSettings() = TFormatSettings();
  }
  void TearDown() override { FormatSettings() = saved_; }

  // A data set named "Data" with one column "Value", open and inserting.
  std::unique_ptr<TMemoryDataSet> Inserting(TFieldType type, int size = 0) {
    auto ds = std::make_unique<TMemoryDataSet>(nullptr, std::vector<TColumn>{{"Value", type, size}});
    ds->SetName("Data");
    ds->Open();
    ds->Append();
    return ds;
  }

 private:
  TFormatSettings saved_;
};

TEST_F(FieldsTest, TextsConvertToEachTypeOrAreRefusedNamingFieldAndText) {
  const String long45 = "Societe Generale des Travaux Publics du Nord!";
  ASSERT_EQ(long45.size(), 45u);
  struct Case {
    TFieldType type;
    int size;
    String text;
    const char* shown;  // AsString after a round trip through the rows; nullptr: refused
    const char* error;
  };
  const Case cases[] = {
      {ftString, 40, long45, "Societe Generale des Travaux Publics du ", nullptr},
      {ftString, 5, "abc", "abc", nullptr},
      {ftFixedChar, 3, "abcdef", "abc", nullptr},
      {ftString, 5, "", "", nullptr},
      {ftFloat, 0, "12a", nullptr, "'12a' is not a valid floating point value for field 'Value'"},
      {ftFloat, 0, " 2.25 ", "2.25", nullptr},
      {ftFloat, 0, "1E300", "1E300", nullptr},
      {ftCurrency, 0, "12.345", "12.345", nullptr},
      {ftInteger, 0, "12a", nullptr, "'12a' is not a valid integer value for field 'Value'"},
      {ftInteger, 0, "3000000000", nullptr,
       "Data: 3000000000 is not a valid value for field 'Value'. The allowed range is -2147483648 to 2147483647"},
      {ftInteger, 0, "-17", "-17", nullptr},
      {ftInteger, 0, "", "", nullptr},
      {ftSmallint, 0, "70000", nullptr,
       "Data: 70000 is not a valid value for field 'Value'. The allowed range is -32768 to 32767"},
      {ftSmallint, 0, "-32768", "-32768", nullptr},
      {ftWord, 0, "-1", nullptr, "Data: -1 is not a valid value for field 'Value'. The allowed range is 0 to 65535"},
      {ftWord, 0, "65535", "65535", nullptr},
      {ftAutoInc, 0, "7", "7", nullptr},
      {ftLargeint, 0, "9000000000", "9000000000", nullptr},
      {ftLargeint, 0, "9e9", nullptr, "'9e9' is not a valid integer value for field 'Value'"},
      {ftBoolean, 0, "tr", "True", nullptr},
      {ftBoolean, 0, "F", "False", nullptr},
      {ftBoolean, 0, "no", nullptr, "'no' is not a valid boolean value for field 'Value'"},
      {ftBCD, 0, "1.23456", "1.2346", nullptr},
      {ftBCD, 0, "abc", nullptr, "'abc' is not a valid BCD value for field 'Value'"},
      {ftDate, 0, "1/15/2024", "1/15/2024", nullptr},
      {ftDate, 0, "31/31/2020", nullptr, "'31/31/2020' is not a valid date for field 'Value'"},
      {ftTime, 0, "13:45:10", "1:45:10 PM", nullptr},
      {ftTime, 0, "25:00", nullptr, "'25:00' is not a valid time for field 'Value'"},
      {ftDateTime, 0, "1/15/2024 10:30", "1/15/2024 10:30:00 AM", nullptr},
      {ftDateTime, 0, "soon", nullptr, "'soon' is not a valid date and time for field 'Value'"},
      {ftMemo, 0, "a memo\r\nof two lines", "a memo\r\nof two lines", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(String(FieldTypeName(c.type)) + " <- '" + c.text + "'");
    auto ds = Inserting(c.type, c.size);
    TField* field = ds->FieldByName("Value");
    if (!c.shown) {
      try {
        field->SetAsString(c.text);
        ADD_FAILURE() << "accepted";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), c.error);
      }
      EXPECT_TRUE(field->IsNull());  // the refused text changed nothing
      EXPECT_EQ(ds->State(), dsInsert);
      continue;
    }
    field->SetAsString(c.text);
    ds->Post();
    ds->Close();
    ds->Open();
    EXPECT_EQ(ds->FieldByName("Value")->AsString(), c.shown);
  }
}

TEST_F(FieldsTest, ConversionErrorsCarryTheirClass) {
  auto ds = Inserting(ftFloat);
  EXPECT_THROW(ds->FieldByName("Value")->SetAsString("12a"), EConvertError);
  auto small = Inserting(ftSmallint);
  EXPECT_THROW(small->FieldByName("Value")->SetAsString("70000"), EDatabaseError);
}

TEST_F(FieldsTest, NumbersRoundHalvesToEvenAndKeepTheirRange) {
  auto ds = Inserting(ftFloat);
  TField* f = ds->FieldByName("Value");
  for (auto [value, rounded] : {std::pair{2.5, 2}, std::pair{3.5, 4}, std::pair{-2.5, -2}, std::pair{2.49, 2}}) {
    f->SetAsFloat(value);
    EXPECT_EQ(f->AsInteger(), rounded) << value;
  }
  f->SetAsFloat(1e12);
  try {
    f->AsInteger();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1000000000000' is not a valid integer value for field 'Value'");
  }
  EXPECT_THROW(f->SetAsFloat(std::nan("")), EConvertError);
  f->SetAsLargeInt(9000000000LL);
  EXPECT_EQ(f->AsLargeInt(), 9000000000LL);
  f->SetAsCurrency(Currency::FromScaled(123456));
  EXPECT_EQ(f->AsFloat(), 12.3456);

  auto ints = Inserting(ftInteger);
  TField* i = ints->FieldByName("Value");
  i->SetAsFloat(2.5);
  EXPECT_EQ(i->AsInteger(), 2);
  EXPECT_THROW(i->SetAsFloat(1e20), EDatabaseError);
  EXPECT_EQ(i->AsInteger(), 2);

  auto large = Inserting(ftLargeint);
  TField* l = large->FieldByName("Value");
  l->SetAsLargeInt(9000000000LL);
  EXPECT_EQ(l->AsFloat(), 9e9);
  EXPECT_THROW(l->AsInteger(), EConvertError);

  auto bcd = Inserting(ftBCD);
  TField* b = bcd->FieldByName("Value");
  b->SetAsFloat(0.1);
  EXPECT_EQ(b->AsCurrency(), Currency::FromScaled(1000));
  b->SetAsInteger(-3);
  EXPECT_EQ(b->AsString(), "-3");
}

TEST_F(FieldsTest, ValuesTravelAsVariantsOfTheFieldsType) {
  struct Case {
    TFieldType type;
    Variant value;
    TVarType read;
  };
  const Case cases[] = {
      {ftString, "abc", varString},         {ftSmallint, 7, varSmallint},
      {ftWord, 7, varWord},                 {ftInteger, 7, varInteger},
      {ftAutoInc, 7, varInteger},           {ftLargeint, 7, varInt64},
      {ftFloat, 1.5, varDouble},            {ftCurrency, 1.5, varDouble},
      {ftBCD, Currency::FromScaled(15000), varCurrency},
      {ftBoolean, true, varBoolean},        {ftDate, VarFromDateTime(45306.0), varDate},
      {ftTime, VarFromDateTime(0.5), varDate}, {ftDateTime, VarFromDateTime(45306.25), varDate},
      {ftMemo, "text", varString},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FieldTypeName(c.type));
    auto ds = Inserting(c.type, c.type == ftString ? 10 : 0);
    TField* f = ds->FieldByName("Value");
    EXPECT_EQ(VarType(f->Value()), varNull);
    f->SetValue(c.value);
    Variant back = f->Value();
    EXPECT_EQ(VarType(back), c.read);
    EXPECT_TRUE(back == c.value);
    f->SetValue(Null());
    EXPECT_TRUE(f->IsNull());
    f->SetValue(c.value);
    f->SetValue(Unassigned());
    EXPECT_TRUE(f->IsNull());
  }

  auto ds = Inserting(ftInteger);
  TField* f = ds->FieldByName("Value");
  f->SetValue(3.7);
  EXPECT_EQ(f->AsInteger(), 4);
  f->SetValue("12");
  EXPECT_EQ(f->AsInteger(), 12);
  try {
    f->SetValue("12a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12a' is not a valid integer value for field 'Value'");
  }
}

TEST_F(FieldsTest, DatesAndTimesKeepTheirNativeFormAndTheirHalfOfTheValue) {
  TDateTime moment = EncodeDateTime(2024, 1, 15, 10, 30, 0, 0);
  auto date = Inserting(ftDate);
  TField* d = date->FieldByName("Value");
  d->SetAsDateTime(moment);
  EXPECT_EQ(d->AsDateTime(), EncodeDate(2024, 1, 15));
  int32_t day = 0;
  ASSERT_TRUE(d->GetData(&day));
  EXPECT_EQ(day, 738900);

  auto time = Inserting(ftTime);
  TField* t = time->FieldByName("Value");
  t->SetAsDateTime(moment);
  EXPECT_DOUBLE_EQ(t->AsDateTime(), EncodeTime(10, 30, 0, 0));
  int32_t msecs = 0;
  ASSERT_TRUE(t->GetData(&msecs));
  EXPECT_EQ(msecs, 37800000);

  auto stamp = Inserting(ftDateTime);
  TField* s = stamp->FieldByName("Value");
  s->SetAsDateTime(moment);
  EXPECT_DOUBLE_EQ(s->AsDateTime(), moment);
  double native = 0;
  ASSERT_TRUE(s->GetData(&native));
  EXPECT_EQ(native, 738900.0 * 86400000.0 + 37800000.0);
  EXPECT_EQ(s->AsFloat(), moment);
}

TEST_F(FieldsTest, StringFieldsReadAsOtherTypes) {
  auto ds = Inserting(ftString, 30);
  TField* f = ds->FieldByName("Value");
  f->SetAsString(" 42 ");
  EXPECT_EQ(f->AsInteger(), 42);
  EXPECT_EQ(f->AsLargeInt(), 42);
  EXPECT_EQ(f->AsFloat(), 42.0);
  f->SetAsString("Yes");
  EXPECT_TRUE(f->AsBoolean());
  f->SetAsBoolean(false);
  EXPECT_EQ(f->AsString(), "False");
  EXPECT_FALSE(f->AsBoolean());
  f->SetAsDateTime(EncodeDate(2024, 1, 15));
  EXPECT_EQ(f->AsString(), "1/15/2024");
  EXPECT_EQ(f->AsDateTime(), EncodeDate(2024, 1, 15));
  f->SetAsString("x1");
  try {
    f->AsInteger();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid integer value for field 'Value'");
  }
  EXPECT_THROW(f->AsBoolean(), EConvertError);
  EXPECT_THROW(f->AsDateTime(), EConvertError);
}

TEST_F(FieldsTest, UnsupportedAccessIsRefusedNamingFieldAndType) {
  struct Case {
    TFieldType type;
    std::function<void(TField*)> access;
    const char* message;
  };
  const Case cases[] = {
      {ftBoolean, [](TField* f) { f->AsDateTime(); }, "Data: Cannot access field 'Value' as type DateTime"},
      {ftDate, [](TField* f) { f->SetAsBoolean(true); }, "Data: Cannot access field 'Value' as type Boolean"},
      {ftBlob, [](TField* f) { f->AsInteger(); }, "Data: Cannot access field 'Value' as type Integer"},
      {ftInteger, [](TField* f) { f->AsDateTime(); }, "Data: Cannot access field 'Value' as type DateTime"},
  };
  for (const Case& c : cases) {
    auto ds = Inserting(c.type);
    try {
      c.access(ds->FieldByName("Value"));
      ADD_FAILURE() << FieldTypeName(c.type);
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST_F(FieldsTest, BlobValuesTravelWholeThroughBlobStreams) {
  const String bytes("\x89PNG\0\x1A\xFF", 7);
  for (TFieldType type : {ftBlob, ftMemo, ftGraphic, ftFmtMemo}) {
    SCOPED_TRACE(FieldTypeName(type));
    auto ds = Inserting(type);
    auto* blob = static_cast<TBlobField*>(ds->FieldByName("Value"));
    EXPECT_TRUE(blob->IsNull());
    EXPECT_TRUE(VarIsNull(blob->Value()));
    blob->SetAsString(bytes);
    EXPECT_TRUE(blob->Modified());
    EXPECT_EQ(blob->BlobSize(), 7);
    ds->Post();
    EXPECT_EQ(blob->AsString(), bytes);

    ds->Edit();
    {
      std::unique_ptr<TStream> stream = ds->CreateBlobStream(blob, bmReadWrite);
      stream->Seek(0, soEnd);
      stream->WriteBuffer("!", 1);
    }
    EXPECT_TRUE(ds->Modified());
    ds->Post();
    EXPECT_EQ(blob->AsString(), bytes + "!");

    ds->Edit();
    blob->Clear();
    EXPECT_TRUE(blob->IsNull());
    blob->SetValue(VarArrayFromBytes("\x01\x02"));
    ds->Post();
    EXPECT_EQ(blob->AsString(), "\x01\x02");
  }
}

TEST_F(FieldsTest, ClearedFieldsAreNullAndReadAsEmptyValues) {
  for (TFieldType type : {ftString, ftInteger, ftFloat, ftBoolean, ftDate, ftBCD, ftLargeint}) {
    SCOPED_TRACE(FieldTypeName(type));
    auto ds = Inserting(type, type == ftString ? 8 : 0);
    TField* f = ds->FieldByName("Value");
    f->SetValue(1);
    EXPECT_FALSE(f->IsNull());
    f->Clear();
    EXPECT_TRUE(f->IsNull());
    EXPECT_EQ(f->AsString(), "");
    if (type != ftString && type != ftBoolean && type != ftDate) {
      EXPECT_EQ(f->AsInteger(), 0);
      EXPECT_EQ(f->AsFloat(), 0.0);
    }
  }
}

// --- definitions ------------------------------------------------------------------------------

TEST(FieldDefs, DefinitionsAreNumberedFoundWithoutCaseAndUnique) {
  TMemoryDataSet ds;
  ds.SetName("Data");
  TFieldDefs& defs = ds.FieldDefs();
  defs.Add("ID", ftAutoInc);
  defs.Add("Name", ftString, 40, true);
  TFieldDef* capital = defs.Add("Capital", ftFloat);
  EXPECT_EQ(capital->FieldNo(), 3);
  EXPECT_EQ(defs.Find("name")->Size(), 40);
  EXPECT_TRUE(defs.Find("NAME")->Required());
  EXPECT_EQ(defs.IndexOf("capital"), 2);
  EXPECT_EQ(defs.FindItem("Logo"), nullptr);
  try {
    defs.Find("Logo");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Data: Field 'Logo' not found");
  }
  try {
    defs.Add("id", ftInteger);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Duplicate name 'id' in TFieldDefs");
  }
  EXPECT_EQ(defs.Count(), 3);

  TMemoryDataSet other;
  other.FieldDefs().Assign(&defs);
  ASSERT_EQ(other.FieldDefs().Count(), 3);
  EXPECT_EQ(other.FieldDefs()[1]->Name(), "Name");
  EXPECT_EQ(other.FieldDefs()[1]->DataType(), ftString);
  EXPECT_EQ(other.FieldDefs()[1]->Size(), 40);
  EXPECT_EQ(other.FieldDefs()[2]->FieldNo(), 3);
}

TEST(FieldDefs, EachTypeMakesItsFieldClass) {
  struct Case {
    TFieldType type;
    const char* className;
    int dataSize;
  };
  const Case cases[] = {
      {ftString, "TStringField", 11},   {ftFixedChar, "TStringField", 11}, {ftSmallint, "TSmallintField", 2},
      {ftInteger, "TIntegerField", 4},  {ftWord, "TWordField", 2},         {ftBoolean, "TBooleanField", 2},
      {ftFloat, "TFloatField", 8},      {ftCurrency, "TCurrencyField", 8}, {ftBCD, "TBCDField", 8},
      {ftDate, "TDateField", 4},        {ftTime, "TTimeField", 4},         {ftDateTime, "TDateTimeField", 8},
      {ftAutoInc, "TAutoIncField", 4},  {ftBlob, "TBlobField", 0},         {ftMemo, "TMemoField", 0},
      {ftGraphic, "TGraphicField", 0},  {ftFmtMemo, "TMemoField", 0},      {ftLargeint, "TLargeintField", 8},
  };
  for (const Case& c : cases) {
    TMemoryDataSet ds;
    TFieldDef* def = ds.FieldDefs().Add("F", c.type, c.type == ftString || c.type == ftFixedChar ? 10 : 0, true);
    TField* field = def->CreateField(&ds);
    EXPECT_STREQ(field->ClassName(), c.className);
    EXPECT_EQ(field->DataType(), c.type);
    EXPECT_EQ(field->DataSize(), c.dataSize) << c.className;
    EXPECT_EQ(field->IsBlob(), c.dataSize == 0);
    EXPECT_TRUE(field->Required());
    EXPECT_EQ(ds.FindField("f"), field);
  }

  TMemoryDataSet ds;
  ds.SetName("Data");
  try {
    ds.FieldDefs().Add("Cur", ftCursor)->CreateField(&ds);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Data: Field 'Cur' is of an unknown type");
  }
  EXPECT_THROW(ds.FieldDefs().Add("Empty", ftString, 0)->CreateField(&ds), EDatabaseError);
  EXPECT_THROW(ds.FieldDefs().Add("Huge", ftString, MaxStringFieldSize + 1)->CreateField(&ds), EDatabaseError);
  EXPECT_EQ(ds.FieldCount(), 0);
}

TEST(FieldDefs, IndexDefinitionsKeepTheirFieldsAndOptions) {
  TMemoryDataSet ds;
  ds.SetName("Data");
  TIndexDefs indexes(&ds);
  indexes.Add("ID", "ID", ixPrimary | ixUnique);
  indexes.Add("ByName", "Name;City", ixCaseInsensitive | ixDescending);
  EXPECT_EQ(indexes.Find("byname")->Fields(), "Name;City");
  EXPECT_EQ(indexes.Find("id")->Options(), ixPrimary | ixUnique);
  try {
    indexes.Find("ByCity");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Data: Index 'ByCity' not found");
  }
  EXPECT_THROW(indexes.Add("BYNAME", "City", 0), EDatabaseError);
  EXPECT_EQ(indexes.Count(), 2);

  TIndexDefs copy(&ds);
  copy.Assign(&indexes);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy[1]->Name(), "ByName");
  EXPECT_EQ(copy[1]->Options(), ixCaseInsensitive | ixDescending);
}

TEST(FieldBinding, PersistentFieldsMustMatchTheirDefinitions) {
  TMemoryDataSet ds(nullptr, {{"ID", ftInteger}, {"Name", ftString, 20}});
  ds.SetName("Data");
  struct Case {
    TFieldType type;
    int size;
    const char* message;
  };
  const Case cases[] = {
      {ftInteger, 0, "Data: Type mismatch for field 'Name', expecting: Integer actual: String"},
      {ftString, 10, "Data: Size mismatch for field 'Name', expecting: 10 actual: 20"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TField> name(CreateFieldOfType(c.type, nullptr));
    if (c.size) name->SetSize(c.size);
    name->SetFieldName("Name");
    name->SetDataSet(&ds);
    try {
      ds.Open();
      FAIL();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(ds.Active());
  }

  TStringField first(nullptr), second(nullptr);
  first.SetFieldName("Name");
  first.SetDataSet(&ds);
  second.SetFieldName("name");
  try {
    second.SetDataSet(&ds);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Data: Duplicate field name 'name'");
  }

  ds.Open();
  EXPECT_EQ(first.FieldNo(), 2);
  for (auto change : {+[](TStringField& f) { f.SetSize(30); }, +[](TStringField& f) { f.SetFieldName("Other"); },
                      +[](TStringField& f) { f.SetDataSet(nullptr); }}) {
    try {
      change(first);
      ADD_FAILURE();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), "Data: Cannot perform this operation on an open dataset");
    }
  }
  ds.Close();
  first.SetDataSet(nullptr);
  EXPECT_EQ(ds.FieldCount(), 0);
}

TEST(FieldBinding, FieldsOutliveOrLeaveTheirDataSetSafely) {
  auto field = std::make_unique<TIntegerField>(nullptr);
  {
    TMemoryDataSet ds(nullptr, {{"ID", ftInteger}});
    field->SetFieldName("ID");
    field->SetDataSet(&ds);
    ds.Open();
  }
  EXPECT_EQ(field->DataSet(), nullptr);
  try {
    field->AsInteger();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'ID' has no dataset");
  }

  TMemoryDataSet ds(nullptr, {{"ID", ftInteger}});
  {
    TIntegerField shortLived(nullptr);
    shortLived.SetFieldName("ID");
    shortLived.SetDataSet(&ds);
  }
  EXPECT_EQ(ds.FieldCount(), 0);
}

}  // namespace
