// The registry: TRegistry opens one key at a time under a root key and
// reads and writes its values; TRegIniFile reads it as sections (subkeys)
// and identifiers (values) with defaults. Key paths starting with '\' are
// taken from the root; others from the current key.
//
// Access may include KEY_WOW64_32KEY (see SetUse32BitView) to reach the
// 32-bit view that 32-bit programs see on 64-bit Windows.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/Errors.h"

QE_DECLARE_EXCEPTION(ERegistryException, Exception);

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
 public:
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
  virtual ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  // Closes the current key.
  void SetRootKey(HKEY root);
  REGSAM Access() const { return access_; }
  void SetAccess(REGSAM access) { access_ = access; }
  // Opens keys in the 32-bit view (KEY_WOW64_32KEY) instead of the native one.
  void SetUse32BitView(bool value);
  HKEY CurrentKey() const { return currentKey_; }
  const String& CurrentPath() const { return currentPath_; }

  // False when the key is missing (and canCreate is false) or refused.
  bool OpenKey(const String& key, bool canCreate);
  bool OpenKeyReadOnly(const String& key);
  void CloseKey();
  bool CreateKey(const String& key);
  bool DeleteKey(const String& key);
  bool KeyExists(const String& key);
  bool ValueExists(const String& name);
  bool DeleteValue(const String& name);
  std::vector<String> GetKeyNames();
  std::vector<String> GetValueNames();
  TRegDataType GetDataType(const String& name);

  // A missing value reads as an empty string. Raises ERegistryException
  // "Invalid data type for '%s'" for a value of another type.
  String ReadString(const String& name);
  // Raises ERegistryException "Failed to get data for '%s'" when missing.
  int32_t ReadInteger(const String& name);
  bool ReadBool(const String& name) { return ReadInteger(name) != 0; }
  // Raise ERegistryException "Failed to set data for '%s'".
  void WriteString(const String& name, const String& value);
  void WriteExpandString(const String& name, const String& value);
  void WriteInteger(const String& name, int32_t value);
  void WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }

 protected:
  // Opens a key below the root or the current key; nullptr on failure.
  HKEY OpenRelative(const String& key, bool create, REGSAM access, String* fullPath);

 private:
  void WriteData(const String& name, DWORD type, const void* data, DWORD size);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = nullptr;
  String currentPath_;
  REGSAM access_;
};

class TRegIniFile : public TRegistry {
 public:
  // fileName: the key that holds the sections, below HKEY_CURRENT_USER
  // unless SetRootKey and a new OpenKey say otherwise.
  explicit TRegIniFile(const String& fileName, REGSAM access = KEY_ALL_ACCESS);
  const String& FileName() const { return fileName_; }

  String ReadString(const String& section, const String& ident, const String& def);
  int32_t ReadInteger(const String& section, const String& ident, int32_t def);
  bool ReadBool(const String& section, const String& ident, bool def);
  void WriteString(const String& section, const String& ident, const String& value);
  // Integers are stored as text, as an INI file holds them.
  void WriteInteger(const String& section, const String& ident, int32_t value);
  void WriteBool(const String& section, const String& ident, bool value);
  void EraseSection(const String& section);
  void DeleteKey(const String& section, const String& ident);

 private:
  // Runs body with the section's key current, then returns to the file key.
  template <typename Body>
  auto InSection(const String& section, bool create, Body body);

  String fileName_;
};
