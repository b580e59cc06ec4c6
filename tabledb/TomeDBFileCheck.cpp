// Walks every table of a database file and reports what is inconsistent.
#include "tabledb/TomeDBFileCheck.h"

#include "platform/Errors.h"
#include "tabledb/TomeDBFileTables.h"

namespace {

// -1, 0 or 1 as record a sorts before, with or after record b in index j.
int CompareRecords(TTomeTableIO& table, int index, int32_t a, int32_t b) {
  const TTomeIndexDef* def = table.IndexDefs().Items(index);
  const bool caseInsensitive = (def->Options & IndexOptionBit(tiCaseInsensitive)) != 0;
  const bool descending = (def->Options & IndexOptionBit(tiDescending)) != 0;
  TMemoryStream va, vb;
  for (int32_t field : def->FieldIdxes) {
    table.ReadFieldOfRecord(va, a, field);
    table.ReadFieldOfRecord(vb, b, field);
    int c = table.CompareValues({va.Memory(), size_t(va.Size())}, {vb.Memory(), size_t(vb.Size())}, false,
                                caseInsensitive, table.FieldDefs().Items(field)->FieldType);
    if (c != 0) return descending ? -c : c;
  }
  return 0;
}

void CheckTable(TTomeTableIO& table, std::vector<String>& problems) {
  const String& name = table.TableName();
  const TPositionList& natural = table.IndexList(0);
  TMemoryStream value;
  for (const TRecordPosition& record : natural)
    for (int f = 0; f < table.FieldDefs().Count(); ++f) {
      try {
        table.ReadFieldOfRecord(value, record.RecNo, f);
      } catch (const Exception& e) {
        problems.push_back(Format("table '%s' record %d field '%s': %s",
                                  {name, record.RecNo, table.FieldDefs().Items(f)->Name(), e.Message()}));
      }
    }
  for (int j = 0; j < table.IndexDefs().Count(); ++j) {
    const TTomeIndexDef* def = table.IndexDefs().Items(j);
    const TPositionList& list = table.IndexList(j + 1);
    if (list.size() != natural.size())
      problems.push_back(Format("table '%s' index '%s' lists %d of %d records",
                                {name, def->Name(), int(list.size()), int(natural.size())}));
    const bool unique = (def->Options & (IndexOptionBit(tiPrimary) | IndexOptionBit(tiUnique))) != 0;
    for (size_t i = 1; i < list.size(); ++i) {
      const int c = CompareRecords(table, j, list[i - 1].RecNo, list[i].RecNo);
      if (c > 0)
        problems.push_back(Format("table '%s' index '%s': record %d before record %d is out of order",
                                  {name, def->Name(), list[i - 1].RecNo, list[i].RecNo}));
      else if (c == 0 && unique)
        problems.push_back(Format("table '%s' index '%s': records %d and %d have the same key",
                                  {name, def->Name(), list[i - 1].RecNo, list[i].RecNo}));
    }
  }
}

}  // namespace

std::vector<String> CheckTomeDatabase(const String& fileName, const String& password) {
  std::vector<String> problems;
  TTomeDBFileIO fileIO(nullptr);
  try {
    fileIO.Open(fileName, mtDisk, 0, true, false);
    if (!fileIO.CheckPassword(password)) {
      problems.push_back("wrong password: values cannot be decoded");
      return problems;
    }
    TStringList names;
    fileIO.GetTableNames(names);
    for (int i = 0; i < names.Count(); ++i) {
      TTomeTableIO table(fileIO, names[i]);
      try {
        table.Open();
        CheckTable(table, problems);
      } catch (const Exception& e) {
        problems.push_back(e.Message());
      }
    }
  } catch (const Exception& e) {
    problems.push_back(e.Message());
  }
  return problems;
}
