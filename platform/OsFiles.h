// The one seam between the portable core and the operating system: files,
// byte-range locks, directories, times and a few process facts. Each call
// has a Win32 and a POSIX implementation (OsFiles_win32.cpp,
// OsFiles_posix.cpp) with the same behaviour where the systems allow it.
//
// File names are Windows-1252 Strings. Share modes are enforced by Windows;
// the POSIX side accepts and ignores them (POSIX has no mandatory share
// modes), but byte-range locks work between processes on both sides.
#pragma once

#include <cstdint>

#include "Text.h"

using THandle = intptr_t;
constexpr THandle InvalidHandle = -1;

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

// File attributes, with the values Windows uses (also stored in archives).
enum : uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faNormal = 0x80,
  faAnyFile = 0x3F,
};

namespace os {

// --- Handles ------------------------------------------------------------------
// mode: the fmOpen*/fmShare* values of Streams.h. Return InvalidHandle on
// failure, with LastError() set.
THandle FileOpen(const String& name, uint32_t mode);
THandle FileCreate(const String& name, uint32_t shareMode = 0);
// A new file for reading and writing, opened exclusively; fails when the
// name is taken by anything, a symbolic link that leads nowhere included,
// so that nothing is ever written through a link.
THandle FileCreateNew(const String& name);
int64_t FileRead(THandle h, void* buffer, int64_t count);         // -1 on error
int64_t FileWrite(THandle h, const void* buffer, int64_t count);  // -1 on error
int64_t FileSeek(THandle h, int64_t offset, int origin);          // -1 on error
// Positioned transfers: one system call where a seek and a read or write
// would take two. Whether they move the handle's position differs between
// the systems, so callers that use them keep no position of their own.
// FileReadAt returns fewer than count bytes only at the end of the file;
// FileWriteAt past the end extends the file. -1 on error.
int64_t FileReadAt(THandle h, int64_t offset, void* buffer, int64_t count);
int64_t FileWriteAt(THandle h, int64_t offset, const void* buffer, int64_t count);
// For tests of interrupted writes: when set, the hook is asked before every
// FileWrite and FileWriteAt how many of its count bytes may go out. When
// it allows fewer, that many are written and the call fails as on a full
// disk. A hook may also end the process there, as a crash would.
using TFileWriteHook = int64_t (*)(THandle h, int64_t count);
void SetFileWriteHook(TFileWriteHook hook);
// The hook's answer, count when none is set (used by both sides).
int64_t AllowedWrite(THandle h, int64_t count);
bool FileSetSize(THandle h, int64_t size);
bool FileFlush(THandle h);
void FileClose(THandle h);
// Exclusive lock of [offset, offset+length) that other processes respect;
// fails at once (no waiting) when another holder has it.
bool FileLockRange(THandle h, int64_t offset, int64_t length);
bool FileUnlockRange(THandle h, int64_t offset, int64_t length);

uint32_t LastError();
String SysErrorMessage(uint32_t code);

// --- Names ---------------------------------------------------------------------
bool FileExists(const String& name);       // a file, not a folder
bool DirectoryExists(const String& name);
bool CreateDir(const String& name);
bool ForceDirectories(const String& name);  // creates every missing level
bool RemoveDir(const String& name);
bool RemoveFile(const String& name);
bool RenameFile(const String& from, const String& to);  // fails if 'to' exists
bool MoveReplacing(const String& from, const String& to); // replaces 'to' atomically where possible
// The absolute name of an existing file or folder with every symbolic
// link and junction on the way resolved; empty when it cannot be resolved.
String RealPath(const String& name);
int64_t FileSizeByName(const String& name);  // -1 when absent
int32_t FileGetAttr(const String& name);     // -1 when absent
bool FileSetAttr(const String& name, uint32_t attr);
// The Unix permission bits (rwx for owner, group and others) of a file,
// where the system keeps them; Windows has none, and nothing changes there.
bool FileSetPermissions(const String& name, uint32_t permissions);
// Modification time as seconds since 1970-01-01 UTC; -1 when absent.
int64_t FileGetModTime(const String& name);
bool FileSetModTime(const String& name, int64_t unixSeconds);

String GetCurrentDir();
bool SetCurrentDir(const String& dir);
String TempDirectory();  // with a trailing delimiter
// A new empty file "<dir><prefix>XXXX.tmp" that did not exist before.
String CreateTempFile(const String& dir, const String& prefix);
int64_t DiskFree(const String& path);  // -1 when unknown

// Directory search. Name is the bare entry name; "." and ".." are skipped.
struct TSearchRec {
  String Name;
  int64_t Size = 0;
  uint32_t Attr = 0;
  int64_t ModTime = 0;  // seconds since 1970-01-01 UTC
};
class DirSearch {
 public:
  // pattern: a folder followed by a mask with '*' and '?' ("C:\\x\\*.txt").
  explicit DirSearch(const String& pattern);
  ~DirSearch();
  DirSearch(const DirSearch&) = delete;
  DirSearch& operator=(const DirSearch&) = delete;
  bool Next(TSearchRec& rec);

 private:
  struct Impl;
  Impl* impl_;
};

// --- Process facts ---------------------------------------------------------------
uint32_t TickCount();  // milliseconds, wraps
void SleepMs(uint32_t ms);
// Offset of local time from UTC, in seconds, at the given instant.
int64_t LocalOffsetSeconds(int64_t unixSeconds);
// Fills buffer from the system's cryptographic random source.
void RandomBytes(void* buffer, size_t count);
uint32_t CurrentProcessId();
uint32_t CurrentThreadId();

}  // namespace os

// Portable path helpers (they split on both '\\' and '/' and on ':' after a
// drive letter).
String ExtractFilePath(std::string_view name);   // with its trailing delimiter
String ExtractFileDir(std::string_view name);    // without
String ExtractFileName(std::string_view name);
String ExtractFileExt(std::string_view name);    // with the dot
String ChangeFileExt(std::string_view name, std::string_view ext);
String IncludeTrailingPathDelimiter(std::string_view s);
String ExcludeTrailingPathDelimiter(std::string_view s);
bool IsPathDelimiter(char c);
