// tomedb: builds, shows and checks table database files, for tests and for
// the installer's demo database.
//
//   tomedb create FILE SCHEMA          a new database from a schema text file
//                                      (format: tabledb/TomeDBFileSchema.h)
//   tomedb dump FILE [-p PASSWORD]     headers, tables, fields, indexes and
//                                      every record decoded
//   tomedb check FILE [-p PASSWORD]    walks every chain and lists what is
//                                      inconsistent
//
// Exit status 0 on success (check: a sound file); 1 on failure, with the
// message or the problems on stderr; 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Errors.h"
#include "tabledb/FieldBuffers.h"
#include "tabledb/TomeDBFileCheck.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBFileTables.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tomedb create FILE SCHEMA\n"
               "       tomedb dump FILE [-p PASSWORD]\n"
               "       tomedb check FILE [-p PASSWORD]\n");
  return 2;
}

// A blob value as its size and the text of its bytes, with bytes outside
// printable ASCII as \xHH.
String BlobText(const std::vector<uint8_t>& value) {
  String text = "<" + IntToStr(int64_t(value.size())) + " bytes> \"";
  const size_t shown = std::min<size_t>(value.size(), 64);
  for (size_t i = 0; i < shown; ++i) {
    const uint8_t c = value[i];
    text += c >= 0x20 && c < 0x7F && c != '"' && c != '\\' ? String(1, char(c)) : "\\x" + IntToHex(c, 2);
  }
  return text + (shown < value.size() ? "\"..." : "\"");
}

void DumpTable(TTomeTableIO& table) {
  const TTomeTableHeader& h = table.Header();
  std::printf("Table %s: %d records (%d deleted), auto-increment counter %d\n", table.TableName().c_str(),
              h.RecordCount(), h.RecordCount() - int(table.IndexList(0).size()), h.AutoIncCounter());
  for (int f = 0; f < h.FieldCount(); ++f) {
    const TTomeFieldItem field = h.Field(f);
    std::printf("  field %d %s %s", f, field.Name.c_str(), SchemaTypeName(field.FieldType).c_str());
    if (field.FieldType == ftString || field.FieldType == ftFixedChar) std::printf(" %d", field.Size);
    std::printf("%s\n", field.DPMode ? " plain" : "");
  }
  for (int j = 0; j < h.IndexCount(); ++j) {
    const TTomeIndexItem index = h.Index(j);
    String keys;
    for (int32_t f : index.KeyFields) keys += (keys.empty() ? "" : ",") + h.Field(f).Name;
    std::printf("  index %d %s %s %s (head %d)\n", j, index.Name.c_str(), keys.c_str(),
                SchemaOptionNames(index.Options).c_str(), index.Head);
  }
  TMemoryStream value;
  for (const TRecordPosition& record : table.IndexList(0)) {
    std::printf("  record %d at %d:", record.RecNo, record.DataPos);
    for (int f = 0; f < h.FieldCount(); ++f) {
      const TTomeFieldItem field = h.Field(f);
      table.ReadFieldOfRecord(value, record.RecNo, f);
      const String text = TFieldBufferItem::IsBlobType(field.FieldType)
                              ? BlobText(value.Bytes())
                              : TFieldBufferItem(value.Memory(), field.FieldType, int32_t(value.Size())).AsText();
      std::printf(" %s=%s", field.Name.c_str(), text.c_str());
    }
    std::printf("\n");
  }
}

int Dump(const String& fileName, const String& password) {
  TTomeDBFileIO fileIO(nullptr);
  fileIO.Open(fileName, mtDisk, 0, true, false);
  uint8_t header[kFileHeaderSize + 1] = {};
  fileIO.ReadBuffer(header, 0, kFileHeaderSize);
  const TTomeExtensionHeader& ext = fileIO.ExtensionHeader();
  std::printf("File %s, version %s\n", fileName.c_str(), reinterpret_cast<const char*>(header + kMagicSize));
  std::printf("Compression: %s\n", ext.CompressFlag() ? ext.CompressName().c_str() : "none");
  if (ext.EncryptFlag())
    std::printf("Encryption: %s, mode %d, password digest %s\n", ext.CipherName().c_str(), ext.CipherMode(),
                ext.PasswordDigest().c_str());
  else
    std::printf("Encryption: none\n");
  std::printf("Write verify: %s\n", ext.WriteVerify() ? "yes" : "no");
  std::printf("Tables: %d\n", fileIO.TableDirectory().TableCount());
  if (!fileIO.CheckPassword(password)) {
    std::fprintf(stderr, "tomedb: wrong password\n");
    return 1;
  }
  TStringList names;
  fileIO.GetTableNames(names);
  for (int i = 0; i < names.Count(); ++i) {
    TTomeTableIO table(fileIO, names[i]);
    table.Open();
    DumpTable(table);
  }
  return 0;
}

int Check(const String& fileName, const String& password) {
  const std::vector<String> problems = CheckTomeDatabase(fileName, password);
  for (const String& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
  if (problems.empty()) std::printf("%s: sound\n", fileName.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<String> args(argv + 1, argv + argc);
  String password;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "-p") {
      password = args[i + 1];
      args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
      break;
    }
  try {
    if (args.size() == 3 && args[0] == "create") {
      TMemoryStream schema;
      schema.LoadFromFile(args[2]);
      CreateTomeDatabase(args[1], ParseTomeSchema(String(schema.Bytes().begin(), schema.Bytes().end())));
      return 0;
    }
    if (args.size() == 2 && args[0] == "dump") return Dump(args[1], password);
    if (args.size() == 2 && args[0] == "check") return Check(args[1], password);
  } catch (const Exception& e) {
    std::fprintf(stderr, "tomedb: %s\n", e.Message().c_str());
    return 1;
  }
  return Usage();
}
