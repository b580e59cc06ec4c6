// Interfaces: abstract classes that name themselves by a GUID, and the list
// that holds references to them.
//
// An interface is a class deriving from IInterface with a static IID. The
// libraries' objects do not count interface references: the owner of an
// object frees it, and a listener removes itself from the lists that hold
// it before it goes. Supports asks an object for an interface.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "Components.h"

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0;
  uint16_t D3 = 0;
  uint8_t D4[8] = {};
  friend bool operator==(const TGUID&, const TGUID&) = default;
};

namespace guid_detail {
constexpr uint32_t Hex(std::string_view s, size_t pos, size_t digits) {
  uint32_t v = 0;
  for (size_t i = pos; i < pos + digits; ++i) {
    const char c = s[i];
    const uint32_t d = c >= '0' && c <= '9'   ? uint32_t(c - '0')
                       : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
                       : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
                                              : throw "not a GUID";
    v = v * 16 + d;
  }
  return v;
}
}  // namespace guid_detail

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile time.
constexpr TGUID StringToGUID(std::string_view s) {
  using guid_detail::Hex;
  if (s.size() != 38 || s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
    throw "not a GUID";
  TGUID g;
  g.D1 = Hex(s, 1, 8);
  g.D2 = uint16_t(Hex(s, 10, 4));
  g.D3 = uint16_t(Hex(s, 15, 4));
  g.D4[0] = uint8_t(Hex(s, 20, 2));
  g.D4[1] = uint8_t(Hex(s, 22, 2));
  for (int i = 0; i < 6; ++i) g.D4[2 + i] = uint8_t(Hex(s, 25 + 2 * size_t(i), 2));
  return g;
}

class IInterface {
 public:
  virtual ~IInterface() = default;
};

// The interface I of object, or nullptr.
template <class I>
I* Supports(TObject* object) {
  return dynamic_cast<I*>(object);
}

// An ordered list of interface references without duplicates. It owns
// nothing. Walking it while a callee removes itself is safe through
// ForEach, which skips entries removed during the walk and does not visit
// ones added during it.
template <class I>
class TInterfaceList {
 public:
  // False when intf was already listed (or is nullptr).
  bool Add(I* intf) {
    if (!intf || IndexOf(intf) >= 0) return false;
    items_.push_back(intf);
    return true;
  }
  // False when intf was not listed.
  bool Remove(I* intf) {
    const int i = IndexOf(intf);
    if (i < 0) return false;
    items_.erase(items_.begin() + i);
    return true;
  }
  int IndexOf(I* intf) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == intf) return int(i);
    return -1;
  }
  int Count() const { return int(items_.size()); }
  I* Items(int index) const { return items_.at(size_t(index)); }
  void Clear() { items_.clear(); }

  template <class F>
  void ForEach(F&& f) {
    const std::vector<I*> snapshot = items_;
    for (I* intf : snapshot)
      if (IndexOf(intf) >= 0) f(*intf);
  }

 private:
  std::vector<I*> items_;
};
