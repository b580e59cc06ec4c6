// New database files from a schema text. The database itself never creates
// files or tables; tools and tests build them with this module, writing
// exactly what a reader accepts: the magic, version "2.0", the extension
// header, the table directory and one empty table header per table.
//
// Schema text: one statement per line, words separated by blanks, "#"
// starts a comment.
//
//   compress ZLIB                 blob values are compressed by the module
//   encrypt Blowfish 1            values are encrypted by the cipher module
//                                 in chaining mode 1 (0..4)
//   password some secret words    the password (the rest of the line);
//                                 required with encrypt
//   writeverify                   every blob write is read back and checked
//   table Config                  starts a table; fields and indexes follow
//   field Name string 40 [plain]  name, type, size for string and fixedchar;
//                                 "plain" keeps the field out of compression
//                                 and encryption
//   index ByName Name,Id [primary] [unique] [descending] [caseinsensitive]
//
// Field types: string, smallint, integer, word, boolean, float, currency,
// date, time, datetime, autoinc, blob, memo, graphic, fmtmemo, fixedchar,
// largeint.
#pragma once

#include <vector>

#include "platform/Streams.h"
#include "tabledb/TomeDBFileFormat.h"

struct TTomeSchema {
  TTomeExtensionHeader Extension;
  std::vector<TTomeTableHeader> Tables;
};

// EDatabaseError "Schema line %d: %s" for a statement it cannot take.
TTomeSchema ParseTomeSchema(std::string_view text);

// The schema words for a field type ("" for a type it has none for) and for
// index options ("unique caseinsensitive").
String SchemaTypeName(uint8_t fieldType);
String SchemaOptionNames(TTDIndexOptions options);

// Writes a new database into the empty stream.
void WriteTomeDatabase(TStream& stream, const TTomeSchema& schema);
// Creates (or replaces) the file.
void CreateTomeDatabase(const String& fileName, const TTomeSchema& schema);
