// Update mode: the operations that queue changes in the directory. Each
// changed item is marked as modified with the operation the commit applies
// to it (ZipArchiverCommit.cpp); items that are not modified are copied
// unchanged from the archive as it is on disk.
#include "archive/ZipArchiver.h"

// --- Entering update mode ---------------------------------------------------------------

void TZABaseArchiver::BeginUpdate() {
  CheckActive();
  EnterUpdate();
}

void TZABaseArchiver::EnterUpdate() {
  if (volumeSet_) throw EZAException(zeVolumeSetUpdate, this);
  MakeWritable();
  if (updateCount_ <= 0) updateCount_ = 1;
}

void TZABaseArchiver::CheckUpdateIndex(int index, int badIndexError, int noUpdateError) const {
  CheckActive();
  if (updateCount_ <= 0) throw EZAException(noUpdateError, this);
  if (index < 0 || index >= dir_->Items.Count()) throw EZAException(badIndexError, this);
}

// --- Adding files ---------------------------------------------------------------------------

void TZABaseArchiver::AddFiles(const String& fileMask) { QueueFiles(fileMask, poAdd); }

void TZABaseArchiver::MoveFiles(const String& fileMask) { QueueFiles(fileMask, poMove); }

void TZABaseArchiver::QueueFiles(const String& fileMask, TZAProcessOperation operation) {
  CheckActive();
  EnterUpdate();
  const String base = baseDir_.empty() ? os::GetCurrentDir() : baseDir_;
  const String path = ZAExpandFileName(fileMask, base);
  const String name = ExtractFileName(path);
  if (name.find_first_of("*?") != String::npos) {
    QueueFolderContents(ExtractFilePath(path), name, operation, base);
    return;
  }
  const String plain = ExcludeTrailingPathDelimiter(path);
  const int32_t attr = os::FileGetAttr(plain);
  if (attr < 0) throw EZAException(zeCannotOpenFile, this, {fileMask});
  // The base folder itself (".") has no name of its own below itself: only
  // its contents go in.
  const bool isBase = plain == ExcludeTrailingPathDelimiter(ZAExpandFileName(base, ""));
  if (!isBase) QueueFile(plain, operation, base);
  if ((attr & faDirectory) && (options_.Recurse() || isBase))
    QueueFolderContents(IncludeTrailingPathDelimiter(plain), "*", operation, base);
}

void TZABaseArchiver::QueueFolderContents(const String& folder, const String& mask,
                                          TZAProcessOperation operation, const String& base) {
  os::DirSearch search(folder + "*");
  os::TSearchRec rec;
  std::vector<os::TSearchRec> found;
  while (search.Next(rec)) found.push_back(rec);
  std::sort(found.begin(), found.end(),
            [](const os::TSearchRec& a, const os::TSearchRec& b) { return a.Name < b.Name; });
  String real;  // of folder, found when the first subfolder needs it
  for (const os::TSearchRec& r : found) {
    const String full = folder + r.Name;
    if (MatchesMask(r.Name, mask)) QueueFile(full, operation, base);
    if (!(r.Attr & faDirectory) || !options_.Recurse()) continue;
    // A link to this folder or one above it would lead round for ever.
    if (real.empty()) real = IncludeTrailingPathDelimiter(os::RealPath(folder));
    const String sub = os::RealPath(full);
    if (!sub.empty() && real.compare(0, sub.size() + 1, IncludeTrailingPathDelimiter(sub)) == 0)
      throw EZAException(zeLinkLoop, this, {full});
    QueueFolderContents(IncludeTrailingPathDelimiter(full), mask, operation, base);
  }
}

// A file whose entry is already there replaces it in its place.
void TZABaseArchiver::QueueFile(const String& fileName, TZAProcessOperation operation,
                                const String& base) {
  TDirItem item;
  if (!PrepareItemFromFile(item, fileName, base)) return;
  String comment;
  DoStoreFile(item.Name, item.Header.ExternalAttributes, comment, fileName);
  item.Comment = comment;
  if (item.Name.empty()) return;
  item.Header.NameLength = uint16_t(std::min<size_t>(item.Name.size(), ZAMax16));
  const int existing = dir_->Items.IndexOf(item.Name);
  if (existing < 0) {
    item.Operation = operation;
    dir_->Items.Add(std::move(item));
    return;
  }
  item.Operation = operation == poAdd ? poUpdate : operation;
  dir_->KeepStoredName(item, dir_->Items.Item(existing));
  dir_->Items.SetItem(existing, item);
}

bool TZABaseArchiver::PrepareItemFromFile(TDirItem& item, const String& fileName,
                                          const String& base) {
  String stored = StoredNameFor(fileName, base, options_.StorePath());
  if (stored.empty()) return false;
  const int32_t attr = os::FileGetAttr(fileName);
  const bool isFolder = attr >= 0 && (attr & faDirectory);
  const int64_t modTime = os::FileGetModTime(fileName);
  const uint32_t dosTime = modTime >= 0 ? ZAUnixToDosDateTime(modTime) : ZANowDosDateTime();
  if (isFolder) stored += '/';

  item = TDirItem();
  item.Name = stored;
  item.Modified = true;
  item.Password = password_;
  item.SourceFileName = fileName;
  item.CompressionMode = isFolder ? 0 : compressionMode_;

  TZACentralHeader& h = item.Header;
  h.Signature = Signatures().Central;
  h.Method = uint16_t(std::max(compressionMethod_, 0));
  const uint16_t version = zipFormat_ ? (options_.OEMFileNames() ? ZAVersionOem : ZAVersionAnsi)
                                      : Signatures().Version;
  h.VersionMadeBy = h.VersionNeeded = version;
  if (!password_.empty()) h.Flags = ZAFlagEncrypted;
  h.Time = uint16_t(dosTime);
  h.Date = uint16_t(dosTime >> 16);
  h.Crc = 0xFFFFFFFF;
  h.NameLength = uint16_t(std::min<size_t>(stored.size(), ZAMax16));
  h.ExternalAttributes = attr >= 0 ? uint32_t(attr) : faArchive;
  if (isFolder) {
    h.Method = 0;
    h.Crc = 0;
    h.Flags = ZAFolderFlags;
  }
  return true;
}

// --- Changing and removing entries -----------------------------------------------------------

void TZABaseArchiver::ReplaceItemFromFile(int index, const String& fileName) {
  CheckUpdateIndex(index, zeReplaceIndex, zeReplaceNoUpdate);
  TDirItem item;
  if (!PrepareItemFromFile(item, fileName, os::GetCurrentDir())) return;
  // The entry keeps its name; only its contents come from the file.
  item.Name = dir_->Items.Item(index).Name;
  item.Header.NameLength = uint16_t(std::min<size_t>(item.Name.size(), ZAMax16));
  item.Operation = poUpdate;
  dir_->KeepStoredName(item, dir_->Items.Item(index));
  dir_->Items.SetItem(index, item);
}

void TZABaseArchiver::DeleteItemAt(int index) {
  CheckUpdateIndex(index, zeDeleteIndex, zeDeleteNoUpdate);
  dir_->Items.Delete(index);
}

void TZABaseArchiver::RenameItem(int index, const String& newName) {
  CheckActive();
  String name = newName;
  std::replace(name.begin(), name.end(), '\\', '/');
  if (dir_->Items.At(index).Name == name) return;
  if (name.empty() || dir_->Items.IndexOf(name) >= 0)
    throw Exception(Format("Entry \"%s\" is already in the archive", {name}));
  EnterUpdate();
  TDirItem& target = dir_->Items.At(index);
  // An entry still to be written is simply written under its new name.
  if (!target.Modified) {
    target.OldName = target.Name;
    target.Operation = poRename;
    target.Modified = true;
  }
  target.Name = name;
  target.StoredName.clear();
  target.NameExact = true;
  target.Header.NameLength = uint16_t(std::min<size_t>(name.size(), ZAMax16));
}

void TZABaseArchiver::UpdateItemFromDisk(int index, const String& entryName,
                                         const String& baseFolder) {
  CheckUpdateIndex(index, zeReplaceIndex, zeReplaceNoUpdate);
  const TDirItem& entry = dir_->Items.Item(index);
  if (entry.IsFolder()) return;
  const String path = ZAExpandFileName(entryName, baseFolder);
  if (!os::FileExists(path)) return;
  if (!options_.ReplaceReadOnly() && (entry.Header.ExternalAttributes & faReadOnly)) return;
  if (!MayReplace(path, entry, entryName)) return;
  TDirItem item;
  if (!PrepareItemFromFile(item, path, baseFolder)) return;
  item.Operation = poUpdate;
  dir_->KeepStoredName(item, entry);
  dir_->Items.SetItem(index, item);
}
