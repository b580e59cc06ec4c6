// Module registries. The built-in modules are registered here, when a list
// is first used, rather than from static constructors in their own files: a
// static library leaves out every object file that nothing refers to, and a
// module that only registers itself would silently vanish with it.
#include "tabledb/TomeDBRegistry.h"

#include "tabledb/Compress_Zlib.h"
#include "tabledb/Enc_Blowfish.h"
#include "tabledb/Enc_Gost.h"
#include "tabledb/Enc_Twofish.h"

void TModuleClassList::Register(TDataProcessAlgoClass algoClass, const String& name) {
  for (Entry& e : entries_)
    if (e.algoClass == algoClass) {
      e.name = name;
      return;
    }
  entries_.push_back({name, algoClass});
}

int TModuleClassList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (AnsiSameText(entries_[i].name, name)) return int(i);
  return -1;
}

TModuleClassList& CompressClassList() {
  static TModuleClassList list = [] {
    TModuleClassList l;
    l.Register(&NewAlgo<TCompAlgo_Zlib>, "ZLIB");
    return l;
  }();
  return list;
}

TModuleClassList& EncryptClassList() {
  static TModuleClassList list = [] {
    TModuleClassList l;
    l.Register(&NewAlgo<TEncAlgo_Blowfish>, "Blowfish");
    l.Register(&NewAlgo<TEncAlgo_Twofish>, "Twofish");
    l.Register(&NewAlgo<TEncAlgo_Gost>, "Gost");
    return l;
  }();
  return list;
}
