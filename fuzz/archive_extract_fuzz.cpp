// Extracts arbitrary bytes as an archive, with a fixed password, into a
// folder three levels below a scratch folder, ignoring every failed entry.
// Whatever the bytes say, nothing may appear in the scratch folder outside
// the target: anything that does stops the run.
#include <cstdio>
#include <cstdlib>

#include "archive/ZipArchiver.h"

namespace {

const String& Scratch() {
  static const String dir = [] {
    const String d = os::TempDirectory() + Format("za_extract_fuzz_%u", {os::CurrentProcessId()});
    os::ForceDirectories(d);
    return IncludeTrailingPathDelimiter(d);
  }();
  return dir;
}

// Removes everything below folder (the folder itself stays); returns the
// relative names that were there.
void Empty(const String& folder, const String& prefix, std::vector<String>& seen) {
  std::vector<os::TSearchRec> found;
  {
    os::DirSearch search(folder + "*");
    os::TSearchRec rec;
    while (search.Next(rec)) found.push_back(rec);
  }
  for (const os::TSearchRec& r : found) {
    seen.push_back(prefix + r.Name);
    const String full = folder + r.Name;
    if (r.Attr & faDirectory) {
      Empty(IncludeTrailingPathDelimiter(full), prefix + r.Name + "/", seen);
      os::RemoveDir(full);
    } else {
      os::RemoveFile(full);
    }
  }
}

bool Allowed(const String& name) {
  static const char* const kFixed[] = {"in.zip", "a", "a/b", "a/b/out"};
  for (const char* f : kFixed)
    if (name == f) return true;
  return name.rfind("a/b/out/", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const String archive = Scratch() + "in.zip";
  {
    TFileStream f(archive, fmCreate);
    f.WriteBuffer(data, int64_t(size));
  }
  const String out = Scratch() + "a" + PathDelim + "b" + PathDelim + "out" + PathDelim;
  os::ForceDirectories(out);
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.SetPassword("fuzz");
    zip.SetBaseDir(out);
    // The recovery scan reads what a cut archive still holds: fuzzed too.
    zip.SetRecoverDamagedArchives(true);
    zip.OnProcessFileFailure = [](TObject*, const String&, TZAProcessOperation, int, int,
                                  const String&, TZAAction& action) { action = fxaIgnore; };
    try {
      zip.OpenArchiveMode(ZAModeReadOnly);
      zip.ExtractFilesByMask("*.*");
    } catch (const Exception&) {
      // Damaged archives and refused entries end here; the check below is
      // what matters.
    }
  }
  std::vector<String> seen;
  Empty(Scratch(), "", seen);
  for (const String& name : seen) {
    if (Allowed(name)) continue;
    std::fprintf(stderr, "written outside the target: %s\n", name.c_str());
    std::abort();
  }
  return 0;
}
