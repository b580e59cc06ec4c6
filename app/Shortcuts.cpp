#include "app/Shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "platform/OsFiles.h"

namespace install {

const char kWebSite[] = "https://www.mervaldo-soft.example/";
const char kForum[] = "https://forum.mervaldo-soft.example/viewforum.php?f=121";
const char kFacebookPage[] = "https://www.facebook.com/SoftwareMervaldo";
const char kYouTubeChannel[] = "https://www.youtube.com/@SoftwareMervaldo";

namespace {

const char kProgramLink[] = "Quillor Pro 5.8 - Gestion Commerciale.lnk";
const char kNotesLink[] = "What is new - Quillor Pro 5.8 Build 1.lnk";
const char kMakerFolder[] = "\\MERVALDO";

struct WebShortcut {
  const char* Address;
  const char* LinkName;
};
const WebShortcut kWebShortcuts[] = {
    {kWebSite, "Visiter le site web de Software MERVALDO.lnk"},
    {kForum, "Visiter le Forum de Software MERVALDO.lnk"},
    {kFacebookPage, "Suiver Software MERVALDO sur Facebook.lnk"},
    {kYouTubeChannel, "Visiter la chaine YouTube de Software MERVALDO.lnk"},
};

// A shell-link object under construction; nothing is checked, a shortcut
// that cannot be made is left out.
class ShellLink {
 public:
  ShellLink() {
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(&link_));
  }
  ~ShellLink() {
    if (link_) link_->Release();
  }
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  void Target(const String& path, const String& arguments, const String& workingDir) {
    if (!link_) return;
    link_->SetPath(path.c_str());
    link_->SetArguments(arguments.c_str());
    link_->SetWorkingDirectory(workingDir.c_str());
  }

  void SaveAs(const String& fileName) {
    if (!link_) return;
    IPersistFile* file = nullptr;
    if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, fileName.c_str(), -1, nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, fileName.c_str(), -1, wide.data(), length);
    file->Save(wide.c_str(), FALSE);
    file->Release();
  }

 private:
  IShellLinkA* link_ = nullptr;
};

String SpecialFolder(int csidl) {
  char path[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

String SystemFolder() {
  char path[MAX_PATH + 1] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

// A web page opens through the URL handler of the shell, run from the
// system folder: a shortcut needs a program to run, not an address.
void SaveWebShortcut(const String& address, const String& fileName) {
  const String system = SystemFolder();
  ShellLink link;
  link.Target(system + "\\rundll32.exe", "url.dll,FileProtocolHandler " + address, system);
  link.SaveAs(fileName);
}

void SaveFileShortcut(const String& target, const String& fileName) {
  ShellLink link;
  link.Target(target, "", FolderPart(target));
  link.SaveAs(fileName);
}

}  // namespace

String FolderPart(const String& target) {
  const size_t last = target.find_last_of("\\:");
  return last == String::npos ? String() : target.substr(0, last + 1);
}

std::vector<String> ShortcutFiles() {
  const String menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + kMakerFolder + "\\";
  std::vector<String> files = {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink,
                               SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink, menu + kProgramLink,
                               menu + kNotesLink};
  for (const WebShortcut& web : kWebShortcuts) files.push_back(menu + web.LinkName);
  return files;
}

void CreateShortcuts(const String& productFolder) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const String commonPrograms = SpecialFolder(CSIDL_COMMON_PROGRAMS);
  {
    const String program = productFolder + "\\Quillor.EXE";
    ShellLink link;
    link.Target(program, "", FolderPart(program));
    link.SaveAs(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink);
    link.SaveAs(SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink);
    os::CreateDir(commonPrograms + kMakerFolder);
    link.SaveAs(commonPrograms + kMakerFolder + "\\" + kProgramLink);
  }
  const String menu = commonPrograms + kMakerFolder + "\\";
  SaveFileShortcut(productFolder + "\\What is new - Quillor Pro 5.8 Build 1.TXT", menu + kNotesLink);
  for (const WebShortcut& web : kWebShortcuts) SaveWebShortcut(web.Address, menu + web.LinkName);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace install
