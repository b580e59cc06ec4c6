// The two process-wide module registries of the table database: names of
// compression modules and of cipher modules, each mapped to the module class
// that a database file asks for by that name. Names are found without regard
// to letter case; the first match wins.
#pragma once

#include <vector>

#include "tabledb/DataProcess.h"

class TModuleClassList {
 public:
  // A class already listed takes the new name; otherwise the pair is
  // appended.
  void Register(TDataProcessAlgoClass algoClass, const String& name);
  // Position of the first entry of that name, -1 when absent.
  int IndexOf(std::string_view name) const;
  TDataProcessAlgoClass ClassAt(int index) const { return entries_.at(size_t(index)).algoClass; }
  const String& NameAt(int index) const { return entries_.at(size_t(index)).name; }
  int Count() const { return int(entries_.size()); }

 private:
  struct Entry {
    String name;
    TDataProcessAlgoClass algoClass;
  };
  std::vector<Entry> entries_;
};

// The lists hold the database's own modules from their first use on:
// "ZLIB", then "Blowfish", "Twofish" and "Gost".
TModuleClassList& CompressClassList();
TModuleClassList& EncryptClassList();

template <std::derived_from<TCompressAlgo> T>
void RegisterCompressClass(const String& name) {
  CompressClassList().Register(&NewAlgo<T>, name);
}

template <std::derived_from<TEncryptAlgo> T>
void RegisterEncryptClass(const String& name) {
  EncryptClassList().Register(&NewAlgo<T>, name);
}
