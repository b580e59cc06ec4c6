// Directory search: FindFirstItem / FindNextItem walk the directory in order
// and report the entries that match a mask, the folder rule and the
// attribute filter.
#include "archive/ZipArchiver.h"

namespace {

constexpr size_t kMaxMaskLength = 260;
// Attribute bits that exclude an entry unless the search asks for them;
// read-only and archive never do.
constexpr uint32_t kFilteredAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

String WithoutTrailingSlash(const String& name) {
  if (!name.empty() && (name.back() == '/' || name.back() == '\\'))
    return name.substr(0, name.size() - 1);
  return name;
}

bool NameMatches(const String& name, const String& mask) {
  const String whole = WithoutTrailingSlash(name);
  return MatchesMask(whole, mask) || MatchesMask(ExtractFileName(ZABackslashed(whole)), mask);
}

}  // namespace

bool TZABaseArchiver::FindFirstItem(const String& mask, TZAArchiveItem& item,
                                    const String& exclusionMask, int searchAttr) {
  CheckActive();
  String m = mask;
  if (options_.StorePath() != spFullPathWithDrive && m.size() >= 2 && m[1] == ':') {
    m.erase(0, 2);
    if (!m.empty() && (m[0] == '\\' || m[0] == '/')) m.erase(0, 1);
  }
  std::replace(m.begin(), m.end(), '\\', '/');
  if (m.size() > kMaxMaskLength) m.resize(kMaxMaskLength);
  item.Mask = m;
  item.MaskHasWildcards = m.find_first_of("*?") != String::npos;
  item.ExclusionMask = exclusionMask;
  std::replace(item.ExclusionMask.begin(), item.ExclusionMask.end(), '\\', '/');
  item.SearchAttr = searchAttr;
  item.NextIndex = 0;
  return FindNextItem(item);
}

bool TZABaseArchiver::FindNextItem(TZAArchiveItem& item) {
  CheckActive();
  for (int i = std::max(item.NextIndex, 0); i < dir_->Items.Count(); ++i) {
    const TDirItem& entry = dir_->Items.Item(i);
    if (!EntryMatches(entry, item)) continue;
    FillArchiveItem(entry, item);
    item.NextIndex = i + 1;
    return true;
  }
  item.NextIndex = dir_->Items.Count();
  return false;
}

bool TZABaseArchiver::EntryMatches(const TDirItem& entry, const TZAArchiveItem& search) const {
  if (!options_.Recurse()) {
    const String entryFolder = ExtractFilePath(ZABackslashed(WithoutTrailingSlash(entry.Name)));
    const String maskFolder = ExtractFilePath(ZABackslashed(search.Mask));
    if (AnsiLowerCase(entryFolder) != AnsiLowerCase(maskFolder)) return false;
  }
  if (!NameMatches(entry.Name, search.Mask)) return false;
  if (!search.ExclusionMask.empty() && NameMatches(entry.Name, search.ExclusionMask)) return false;
  // An entry is a folder by its name alone, whatever its attributes say.
  uint32_t attr = entry.Header.ExternalAttributes & ~uint32_t(faDirectory);
  if (entry.IsFolder()) attr |= faDirectory;
  return (attr & kFilteredAttributes & ~uint32_t(search.SearchAttr)) == 0;
}

void TZABaseArchiver::FillArchiveItem(const TDirItem& entry, TZAArchiveItem& item) const {
  const String name = ZABackslashed(WithoutTrailingSlash(entry.Name));
  item.FileName = ExtractFileName(name);
  item.StoredPath = ExtractFilePath(name);
  item.CompressedSize = int64_t(entry.CompressedSize);
  item.UncompressedSize = int64_t(entry.UncompressedSize);
  if (entry.UncompressedSize == 0)
    item.CompressionRate = 100;
  else
    item.CompressionRate =
        std::max(0.0, (1.0 - double(entry.CompressedSize) / double(entry.UncompressedSize)) * 100);
  item.Encrypted = entry.IsEncrypted();
  item.LastModFileTime = entry.Header.Time;
  item.LastModFileDate = entry.Header.Date;
  item.CRC = entry.Header.Crc;
  item.ExternalFileAttributes = entry.Header.ExternalAttributes;
  item.Comment = entry.Comment;
}
