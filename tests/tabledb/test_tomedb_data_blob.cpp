// The blob streams: a record's value loads once, only when read, never
// after being replaced; a field's working stream empties the value at once
// in write mode and never changes the record in read mode.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tabledb/TomeDBBlob.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBTable.h"

using testing_support::TempDir;

namespace {

String Content(TStream& s) {
  String text(size_t(s.Size()), '\0');
  s.SetPosition(0);
  s.ReadBuffer(text.data(), int64_t(text.size()));
  return text;
}

TEST(TomeDBBlob, OptimStreamLoadsOnlyWhatWasNeverReplaced) {
  // A closed data set: any attempt to load raises.
  TTomeTable table(nullptr);
  TOptimBlobStream stream(&table);
  stream.SetLoadInfo(0, false, false);
  EXPECT_EQ(Content(stream), "");  // nothing stored: nothing to load
  stream.SetLoadInfo(4096, true, true);
  EXPECT_FALSE(stream.IsLoaded());
  EXPECT_THROW(Content(stream), EDatabaseError);
  stream.SetLoadInfo(4096, true, true);
  stream.WriteBuffer("new", 3);
  EXPECT_TRUE(stream.IsLoaded());
  EXPECT_EQ(Content(stream), "new");
  stream.SetLoadInfo(4096, false, false);
  stream.SetSize(0);
  EXPECT_EQ(Content(stream), "");
}

TEST(TomeDBBlob, FieldStreamsCopyTheRecordsValue) {
  TempDir dir;
  const String file = dir.File("b.tdb");
  CreateTomeDatabase(file, ParseTomeSchema("compress ZLIB\ntable T\n field Id integer\n field Pic graphic\n"));
  TTomeTable t(nullptr);
  t.SetDatabaseName(file);
  t.SetTableName("T");
  t.Open();
  t.Append();
  TField* pic = t.FieldByName("Pic");
  pic->SetAsString("picture bytes");
  t.Post();
  t.Edit();
  {
    // Read mode: writing to the copy leaves the record alone.
    std::unique_ptr<TStream> reader = t.CreateBlobStream(pic, bmRead);
    EXPECT_EQ(Content(*reader), "picture bytes");
    reader->WriteBuffer("zz", 2);
  }
  EXPECT_EQ(pic->AsString(), "picture bytes");
  EXPECT_FALSE(t.Modified());
  // Write mode empties the value before anything is written.
  t.CreateBlobStream(pic, bmWrite);
  EXPECT_TRUE(pic->IsNull());
  EXPECT_TRUE(t.Modified());
  t.Cancel();
  EXPECT_EQ(pic->AsString(), "picture bytes");
  // Blob values never pass through field data.
  uint8_t raw[8];
  EXPECT_THROW(t.GetFieldData(pic, raw), EDatabaseError);
}

}  // namespace
