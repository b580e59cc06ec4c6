// Schema text reader and the writer of new database files.
#include "tabledb/TomeDBFileSchema.h"

#include <cstring>

#include "platform/Errors.h"
#include "tabledb/Hash_SHA.h"
#include "tabledb/TomeDBBasics.h"

namespace {

struct TTypeName {
  const char* Name;
  uint8_t Type;
};

constexpr TTypeName kTypeNames[] = {
    {"string", ftString},   {"smallint", ftSmallint}, {"integer", ftInteger}, {"word", ftWord},
    {"boolean", ftBoolean}, {"float", ftFloat},       {"currency", ftCurrency}, {"date", ftDate},
    {"time", ftTime},       {"datetime", ftDateTime}, {"autoinc", ftAutoInc},  {"blob", ftBlob},
    {"memo", ftMemo},       {"graphic", ftGraphic},   {"fmtmemo", ftFmtMemo},  {"fixedchar", ftFixedChar},
    {"largeint", ftLargeint},
};

struct TOptionName {
  const char* Name;
  TTDIndexOption Option;
};

constexpr TOptionName kOptionNames[] = {
    {"primary", tiPrimary}, {"unique", tiUnique}, {"descending", tiDescending},
    {"caseinsensitive", tiCaseInsensitive},
};

std::vector<String> Words(std::string_view line) {
  std::vector<String> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

class TSchemaReader {
 public:
  TTomeSchema Read(std::string_view text) {
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      ++line_;
      std::string_view line = text.substr(pos, end - pos);
      line = line.substr(0, line.find('#'));
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      Statement(line);
      pos = end + 1;
    }
    if (encrypt_ && !hasPassword_) Fail("encrypt needs a password");
    if (encrypt_)
      schema_.Extension.SetEncryption(cipher_, mode_, HashText(NewHash<THash_SHA>, password_));
    return std::move(schema_);
  }

 private:
  [[noreturn]] void Fail(std::string_view what) { DatabaseErrorFmt("Schema line %d: %s", {line_, what}); }

  void Statement(std::string_view line) {
    const std::vector<String> w = Words(line);
    if (w.empty()) return;
    const String& keyword = w[0];
    if (keyword == "password") {
      password_ = Trim(line.substr(line.find("password") + 8));
      hasPassword_ = true;
    } else if (keyword == "compress" && w.size() == 2) {
      schema_.Extension.SetCompression(w[1]);
    } else if (keyword == "encrypt" && w.size() == 3) {
      int32_t mode;
      if (!TryStrToInt(w[2], mode) || mode < 0 || mode > 4) Fail("the cipher mode is 0 to 4");
      encrypt_ = true;
      cipher_ = w[1];
      mode_ = uint8_t(mode);
    } else if (keyword == "writeverify" && w.size() == 1) {
      schema_.Extension.SetWriteVerify(true);
    } else if (keyword == "table" && w.size() == 2) {
      if (int(schema_.Tables.size()) == kMaxTables) Fail("too many tables");
      schema_.Tables.emplace_back().SetName(CheckedName(w[1]));
    } else if (keyword == "field" && w.size() >= 3) {
      Field(w);
    } else if (keyword == "index" && w.size() >= 3) {
      Index(w);
    } else {
      Fail(Format("cannot read '%s'", {Trim(line)}));
    }
  }

  String CheckedName(const String& name) {
    if (name.size() >= size_t(kNameSize)) Fail(Format("name '%s' is longer than 32 characters", {name}));
    return name;
  }

  TTomeTableHeader& Table() {
    if (schema_.Tables.empty()) Fail("fields and indexes belong to a table");
    return schema_.Tables.back();
  }

  void Field(const std::vector<String>& w) {
    TTomeTableHeader& table = Table();
    if (table.FieldCount() == kMaxFields) Fail("too many fields");
    TTomeFieldItem field;
    field.Name = CheckedName(w[1]);
    const TTypeName* type = nullptr;
    for (const TTypeName& t : kTypeNames)
      if (w[2] == t.Name) type = &t;
    if (!type) Fail(Format("unknown field type '%s'", {w[2]}));
    field.FieldType = type->Type;
    size_t next = 3;
    if (type->Type == ftString || type->Type == ftFixedChar) {
      if (w.size() < 4 || !TryStrToInt(w[3], field.Size) || field.Size < 1 || field.Size > kMaxStringSize)
        Fail("a string field needs a size of 1 to 8192");
      next = 4;
    }
    for (; next < w.size(); ++next) {
      if (w[next] != "plain") Fail(Format("unknown field option '%s'", {w[next]}));
      field.DPMode = 1;
    }
    table.AddField(field);
  }

  int FieldNumber(const TTomeTableHeader& table, std::string_view name) {
    for (int f = 0; f < table.FieldCount(); ++f)
      if (AnsiSameText(table.Field(f).Name, name)) return f;
    Fail(Format("no field '%s'", {name}));
  }

  void Index(const std::vector<String>& w) {
    TTomeTableHeader& table = Table();
    if (table.IndexCount() == kMaxIndexes) Fail("too many indexes");
    TTomeIndexItem index;
    index.Name = CheckedName(w[1]);
    size_t start = 0;
    while (start <= w[2].size()) {
      size_t comma = w[2].find(',', start);
      if (comma == String::npos) comma = w[2].size();
      index.KeyFields.push_back(FieldNumber(table, std::string_view(w[2]).substr(start, comma - start)));
      start = comma + 1;
    }
    if (index.KeyFields.size() > size_t(kMaxKeyFields)) Fail("an index has at most 8 key fields");
    for (size_t i = 3; i < w.size(); ++i) {
      const TOptionName* option = nullptr;
      for (const TOptionName& o : kOptionNames)
        if (w[i] == o.Name) option = &o;
      if (!option) Fail(Format("unknown index option '%s'", {w[i]}));
      index.Options |= IndexOptionBit(option->Option);
    }
    table.AddIndex(index);
  }

  TTomeSchema schema_;
  int line_ = 0;
  bool encrypt_ = false;
  String cipher_;
  uint8_t mode_ = 0;
  String password_;
  bool hasPassword_ = false;
};

}  // namespace

TTomeSchema ParseTomeSchema(std::string_view text) { return TSchemaReader().Read(text); }

String SchemaTypeName(uint8_t fieldType) {
  for (const TTypeName& t : kTypeNames)
    if (t.Type == fieldType) return t.Name;
  return String();
}

String SchemaOptionNames(TTDIndexOptions options) {
  String names;
  for (const TOptionName& o : kOptionNames)
    if (options & IndexOptionBit(o.Option)) names += (names.empty() ? "" : " ") + String(o.Name);
  return names;
}

void WriteTomeDatabase(TStream& stream, const TTomeSchema& schema) {
  const int32_t tables = int32_t(schema.Tables.size());
  std::vector<uint8_t> image(size_t(kFirstDataPos) + size_t(tables) * kTableHeaderSize, 0);
  const auto header = NewFileHeader();
  std::memcpy(image.data(), header.data(), header.size());
  std::memcpy(image.data() + kExtHeaderPos, schema.Extension.Image.data(), kExtHeaderSize);
  TTomeTableDirectory directory;
  directory.SetTableCount(tables);
  for (int32_t i = 0; i < tables; ++i) {
    const int32_t pos = kFirstDataPos + i * kTableHeaderSize;
    directory.SetTablePos(i, pos);
    std::memcpy(image.data() + pos, schema.Tables[size_t(i)].Image.data(), kTableHeaderSize);
  }
  std::memcpy(image.data() + kTableDirPos, directory.Image.data(), kTableDirSize);
  stream.WriteBuffer(image.data(), int64_t(image.size()));
}

void CreateTomeDatabase(const String& fileName, const TTomeSchema& schema) {
  TFileStream file(fileName, fmCreate);
  WriteTomeDatabase(file, schema);
}
