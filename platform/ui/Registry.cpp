#include "platform/ui/Registry.h"

#include <memory>

TRegistry::TRegistry(REGSAM access) : access_(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  rootKey_ = root;
}

void TRegistry::SetUse32BitView(bool value) {
  access_ &= ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY);
  if (value) access_ |= KEY_WOW64_32KEY;
}

void TRegistry::CloseKey() {
  if (currentKey_) RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

HKEY TRegistry::OpenRelative(const String& key, bool create, REGSAM access, String* fullPath) {
  bool absolute = !key.empty() && key[0] == '\\';
  String sub = absolute ? key.substr(1) : key;
  if (!sub.empty() && sub.back() == '\\') sub.pop_back();
  HKEY base = absolute || !currentKey_ ? rootKey_ : currentKey_;
  HKEY result = nullptr;
  LONG rc = create ? RegCreateKeyExA(base, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &result,
                                     nullptr)
                   : RegOpenKeyExA(base, sub.c_str(), 0, access, &result);
  if (rc != ERROR_SUCCESS) return nullptr;
  if (fullPath) *fullPath = absolute || !currentKey_ ? sub : (currentPath_.empty() ? sub : currentPath_ + "\\" + sub);
  return result;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
  String path;
  HKEY h = OpenRelative(key, canCreate, access_, &path);
  if (!h) return false;
  CloseKey();
  currentKey_ = h;
  currentPath_ = path;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
  REGSAM saved = access_;
  access_ = KEY_READ | (saved & (KEY_WOW64_32KEY | KEY_WOW64_64KEY));
  bool ok = OpenKey(key, false);
  access_ = saved;
  return ok;
}

bool TRegistry::CreateKey(const String& key) {
  HKEY h = OpenRelative(key, true, access_, nullptr);
  if (!h) return false;
  RegCloseKey(h);
  return true;
}

bool TRegistry::KeyExists(const String& key) {
  HKEY h = OpenRelative(key, false, KEY_READ | (access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)), nullptr);
  if (!h) return false;
  RegCloseKey(h);
  return true;
}

// Deletes the key and everything below it.
bool TRegistry::DeleteKey(const String& key) {
  bool absolute = !key.empty() && key[0] == '\\';
  HKEY base = absolute || !currentKey_ ? rootKey_ : currentKey_;
  String sub = absolute ? key.substr(1) : key;
  HKEY h = nullptr;
  REGSAM view = access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY);
  if (RegOpenKeyExA(base, sub.c_str(), 0, KEY_ALL_ACCESS | view, &h) != ERROR_SUCCESS) return false;
  for (;;) {
    char name[256];
    DWORD len = sizeof name;
    if (RegEnumKeyExA(h, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    TRegistry child(access_);
    child.rootKey_ = h;
    if (!child.DeleteKey(String("\\") + name)) break;
    child.rootKey_ = HKEY_CURRENT_USER;
  }
  RegCloseKey(h);
  return RegDeleteKeyExA(base, sub.c_str(), view, 0) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const String& name) {
  return currentKey_ && RegQueryValueExA(currentKey_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const String& name) {
  return currentKey_ && RegDeleteValueA(currentKey_, name.c_str()) == ERROR_SUCCESS;
}

std::vector<String> TRegistry::GetKeyNames() {
  std::vector<String> names;
  for (DWORD i = 0; currentKey_; ++i) {
    char name[256];
    DWORD len = sizeof name;
    if (RegEnumKeyExA(currentKey_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  return names;
}

std::vector<String> TRegistry::GetValueNames() {
  std::vector<String> names;
  for (DWORD i = 0; currentKey_; ++i) {
    char name[16384];
    DWORD len = sizeof name;
    if (RegEnumValueA(currentKey_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  return names;
}

TRegDataType TRegistry::GetDataType(const String& name) {
  DWORD type = 0;
  if (!currentKey_ || RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return rdUnknown;
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

String TRegistry::ReadString(const String& name) {
  DWORD type = 0, size = 0;
  if (!currentKey_ || RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return String();
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(Format("Invalid data type for '%s'", {name}));
  String value(size, '\0');
  if (RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", {name}));
  // The stored size counts the terminating zero when there is one.
  value.resize(size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

int32_t TRegistry::ReadInteger(const String& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (!currentKey_ ||
      RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", {name}));
  if (type != REG_DWORD) throw ERegistryException(Format("Invalid data type for '%s'", {name}));
  return int32_t(value);
}

void TRegistry::WriteData(const String& name, DWORD type, const void* data, DWORD size) {
  if (!currentKey_ ||
      RegSetValueExA(currentKey_, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", {name}));
}

void TRegistry::WriteString(const String& name, const String& value) {
  WriteData(name, REG_SZ, value.c_str(), DWORD(value.size() + 1));
}

void TRegistry::WriteExpandString(const String& name, const String& value) {
  WriteData(name, REG_EXPAND_SZ, value.c_str(), DWORD(value.size() + 1));
}

void TRegistry::WriteInteger(const String& name, int32_t value) {
  DWORD v = DWORD(value);
  WriteData(name, REG_DWORD, &v, sizeof v);
}

// --- TRegIniFile ---------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const String& fileName, REGSAM access) : TRegistry(access), fileName_(fileName) {
  OpenKey(fileName, true);
}

template <typename Body>
auto TRegIniFile::InSection(const String& section, bool create, Body body) {
  HKEY fileKey = CurrentKey();
  String sectionPath;
  HKEY h = section.empty() ? nullptr : OpenRelative(section, create, Access(), &sectionPath);
  // Read the section through a registry object of its own, so that the
  // file key stays current here.
  TRegistry sectionReg(Access());
  if (h) {
    sectionReg.SetRootKey(h);
    sectionReg.OpenKey("", false);
    RegCloseKey(h);
  } else if (section.empty() && fileKey) {
    sectionReg.SetRootKey(fileKey);
    sectionReg.OpenKey("", false);
  }
  return body(sectionReg, h != nullptr || (section.empty() && fileKey));
}

String TRegIniFile::ReadString(const String& section, const String& ident, const String& def) {
  return InSection(section, false, [&](TRegistry& reg, bool open) {
    if (!open || !reg.ValueExists(ident)) return def;
    return reg.ReadString(ident);
  });
}

int32_t TRegIniFile::ReadInteger(const String& section, const String& ident, int32_t def) {
  return InSection(section, false, [&](TRegistry& reg, bool open) {
    if (!open || !reg.ValueExists(ident)) return def;
    if (reg.GetDataType(ident) == rdInteger) return reg.ReadInteger(ident);
    return StrToIntDef(reg.ReadString(ident), def);
  });
}

bool TRegIniFile::ReadBool(const String& section, const String& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const String& section, const String& ident, const String& value) {
  InSection(section, true, [&](TRegistry& reg, bool open) {
    if (!open) throw ERegistryException(Format("Failed to set data for '%s'", {ident}));
    reg.WriteString(ident, value);
    return 0;
  });
}

void TRegIniFile::WriteInteger(const String& section, const String& ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

void TRegIniFile::WriteBool(const String& section, const String& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TRegIniFile::EraseSection(const String& section) { TRegistry::DeleteKey(section); }

void TRegIniFile::DeleteKey(const String& section, const String& ident) {
  InSection(section, false, [&](TRegistry& reg, bool open) {
    if (open) reg.DeleteValue(ident);
    return 0;
  });
}
