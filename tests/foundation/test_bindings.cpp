// The bindings of the optional system libraries, under Wine: GDI+ and its
// units loader, the desktop window manager, loading from the system folder
// only, and the modules' start-up order.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vdOffice11.h"
#include "foundation/vxDWMApi.h"
#include "foundation/vxModules.h"
#include "platform/ClassRegistry.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/SystemLibrary.h"
#include "support/TestSupport.h"

using namespace Gdiplus;

namespace {

String SystemFolder() {
  char folder[MAX_PATH];
  return String(folder, GetSystemDirectoryA(folder, MAX_PATH));
}

String ModulePath(HMODULE module) {
  char path[MAX_PATH];
  return String(path, GetModuleFileNameA(module, path, MAX_PATH));
}

TEST(SystemLibrary, LoadsFromTheSystemFolderOnly) {
  testing_support::TempDir dir;
  const String planted = dir.File("qe_fnd_planted.dll");
  ASSERT_TRUE(CopyFileA(QE_PLANTED_DLL, planted.c_str(), FALSE));
  const String saved = [] {
    char cwd[MAX_PATH];
    return String(cwd, GetCurrentDirectoryA(MAX_PATH, cwd));
  }();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  // The planted library is loadable the ordinary way, never the safe one.
  HMODULE ordinary = LoadLibraryA("qe_fnd_planted.dll");
  EXPECT_NE(ordinary, nullptr);
  if (ordinary) FreeLibrary(ordinary);
  EXPECT_EQ(SafeLoadSystemLibrary("qe_fnd_planted.dll"), nullptr);
  EXPECT_EQ(SafeLoadSystemLibrary(planted), nullptr);
  EXPECT_EQ(SafeLoadSystemLibrary("..\\system32\\gdiplus.dll"), nullptr);
  SetCurrentDirectoryA(saved.c_str());

  TSystemLibrary gdiplus("gdiplus.dll");
  ASSERT_TRUE(gdiplus.Loaded());
  EXPECT_EQ(AnsiUpperCase(ModulePath(gdiplus.Handle()).substr(0, SystemFolder().size())),
            AnsiUpperCase(SystemFolder()));
  EXPECT_NE(gdiplus.Proc("GdiplusStartup"), nullptr);
  EXPECT_EQ(gdiplus.Proc("NoSuchEntry"), nullptr);
  EXPECT_FALSE(TSystemLibrary("qe_no_such_library.dll").Loaded());
}

TEST(GdiPlus, BindsItsEntryPointsAndStartsOnTheFirstQuery) {
  vdUnloadGdiPlus();
  EXPECT_EQ(vdGpEntry(gpGdiplusStartup), nullptr);
  ASSERT_TRUE(vdGpIsLibraryAvailable());
  for (int i = 0; i < gpEntryCount; ++i) EXPECT_NE(vdGpEntry(TvdGpEntry(i)), nullptr) << vdGpEntryNames[i];
  EXPECT_STREQ(vdGpEntryNames[gpGdipCloneBitmapAreaI], "GdipCloneBitmapAreaI");
  // Started: a bitmap can be made.
  GpBitmap* bitmap = vdGpNewBitmap(4, 3);
  UINT width = 0;
  vdGpProc<decltype(&DllExports::GdipGetImageWidth)>(gpGdipGetImageWidth)(bitmap, &width);
  EXPECT_EQ(width, 4u);
  vdGpDisposeImage(bitmap);
  vdUnloadGdiPlus();
}

TEST(GdiPlus, BindingStopsAtTheFirstMissingName) {
  void* entries[gpEntryCount];
  std::vector<String> asked;
  const bool all = vdGpBindEntries(
      [&](const char* name) -> void* {
        asked.emplace_back(name);
        return String(name) == "GdipCreatePen1" ? nullptr : &asked;
      },
      entries);
  EXPECT_FALSE(all);
  EXPECT_EQ(asked.back(), "GdipCreatePen1");
  EXPECT_EQ(asked.size(), size_t(gpGdipCreatePen1) + 1);
  for (int i = gpGdipCreatePen1; i < gpEntryCount; ++i) EXPECT_EQ(entries[i], nullptr);
}

TEST(GdiPlus, FailuresRaiseTheirStatus) {
  try {
    vdGpCheckStatus(7);
    FAIL();
  } catch (const EvdGdipException& e) {
    EXPECT_EQ(e.Message(), "Invalid operation in GDI+ (Code: 7)");
    EXPECT_EQ(e.Status(), 7);
  }
  EXPECT_NO_THROW(vdGpCheckStatus(0));
  // A real refusal: GDI+ will not make an empty bitmap.
  try {
    vdGpNewBitmap(0, 0);
    FAIL();
  } catch (const EvdGdipException& e) {
    EXPECT_EQ(e.Status(), InvalidParameter);
  }
  EXPECT_THROW(vdGpCheckSuccess(false), EvdGdipException);
  vdUnloadGdiPlus();
}

TEST(GdiPlus, Colors) {
  EXPECT_EQ(vdGpColorFromColor(0x0000FF, 128), 0x80FF0000u);
  EXPECT_EQ(vdGpColorFromColor(clNone, 255), 0u);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(vdGpColorFromColor(clBtnFace, 255),
            0xFF000000u | GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face));
}

TEST(GdiPlus, PictureFromAStreamOutlivesTheStream) {
  ASSERT_TRUE(vdGpIsLibraryAvailable());
  const CLSID png = vdGpLookupPngEncoder();
  ASSERT_NE(png.Data1, 0u);
  // A PNG written by GDI+ itself.
  GpBitmap* source = vdGpNewBitmap(5, 7);
  IStream* encoded = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &encoded), S_OK);
  vdGpCheckStatus(
      vdGpProc<decltype(&DllExports::GdipSaveImageToStream)>(gpGdipSaveImageToStream)(source, encoded, &png, nullptr));
  vdGpDisposeImage(source);
  HGLOBAL block = nullptr;
  GetHGlobalFromStream(encoded, &block);
  TMemoryStream bytes;
  bytes.WriteBuffer(GlobalLock(block), int64_t(GlobalSize(block)));
  GlobalUnlock(block);
  encoded->Release();

  bytes.SetPosition(0);
  GpBitmap* image = vdGpImageFromStream(bytes);
  bytes.Clear();  // GDI+ reads its own copy
  UINT width = 0, height = 0;
  vdGpProc<decltype(&DllExports::GdipGetImageWidth)>(gpGdipGetImageWidth)(image, &width);
  vdGpProc<decltype(&DllExports::GdipGetImageHeight)>(gpGdipGetImageHeight)(image, &height);
  EXPECT_EQ(width, 5u);
  EXPECT_EQ(height, 7u);
  vdGpDisposeImage(image);
  TMemoryStream empty;
  EXPECT_THROW(vdGpImageFromStream(empty), EvdGdipException);
  vdUnloadGdiPlus();
}

std::vector<String>& Log() {
  static std::vector<String> log;
  return log;
}
void Note(const char* what) { Log().push_back(String(what) + (vdGpEntry(gpGdipAlloc) ? " with GDI+" : "")); }
void InitA() { Note("init A"); }
void FinalA() { Note("final A"); }
void FinalB() { Note("final B"); }
void FinalC() { Note("final C"); }

TEST(UnitsLoader, FinalisersRunLastToFirstAndGdiPlusStopsLast) {
  Log().clear();
  vdGDIPlusAPIInitialize();
  TvdUnitsLoader* loader = vdSharedUnitsLoader();
  ASSERT_NE(loader, nullptr);
  ASSERT_TRUE(vdGpIsLibraryAvailable());
  loader->RegisterUnit(InitA, FinalA);
  loader->RegisterUnit(nullptr, FinalB);
  loader->RegisterUnit(nullptr, FinalC);
  loader->UnregisterUnit(FinalC);  // runs at once
  loader->UnregisterUnit(FinalC);  // no longer registered: nothing
  loader->UnregisterUnit(InitA);   // never registered as a finaliser
  vdGDIPlusAPIFinalize();
  EXPECT_EQ(Log(), (std::vector<String>{"init A with GDI+", "final C with GDI+", "final B with GDI+",
                                        "final A with GDI+"}));
  EXPECT_EQ(vdSharedUnitsLoader(), nullptr);
  EXPECT_EQ(vdGpEntry(gpGdipAlloc), nullptr);  // shut down after the last
}

TEST(Dwm, BoundOnSystemsFromVista) {
  ASSERT_GT(vdWin32MajorVersion(), 5u);
  vxDWMApiInitialize();
  EXPECT_TRUE(vxDWMApiAvailable());
  EXPECT_NE(vxDWMApi::DwmIsCompositionEnabled, nullptr);
  // Asked each time; the answer is the system's.
  BOOL enabled = FALSE;
  vxDWMApi::DwmIsCompositionEnabled(&enabled);
  EXPECT_EQ(vxDwmCompositionEnabled(), enabled != FALSE);
  vxDWMApiFinalize();
  EXPECT_FALSE(vxDWMApiAvailable());
  EXPECT_FALSE(vxDwmCompositionEnabled());
  EXPECT_EQ(vxDWMApi::DwmIsCompositionEnabled, nullptr);
}

// Run by the test below in a process that Wine tells it runs on XP.
TEST(Dwm, ChildOnXp) {
  if (!std::getenv("QE_DWM_XP_CHILD")) GTEST_SKIP() << "runs as a child process";
  ASSERT_EQ(vdWin32MajorVersion(), 5u);
  vxDWMApiInitialize();
  EXPECT_FALSE(vxDWMApiAvailable());
  EXPECT_FALSE(vxDwmCompositionEnabled());
  EXPECT_EQ(GetModuleHandleA("dwmapi.dll"), nullptr);
}

TEST(Dwm, SkippedWhenTheSystemIsXp) {
  const String exe = ModulePath(nullptr);
  const String key = "Software\\Wine\\AppDefaults\\" + exe.substr(exe.find_last_of("\\/") + 1);
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  const char version[] = "winxp64";
  RegSetValueExA(h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
  const int code = testing_support::RunSelf("Dwm.ChildOnXp", {"QE_DWM_XP_CHILD=1"});
  RegDeleteValueA(h, "Version");
  RegCloseKey(h);
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  EXPECT_EQ(code, 0);
}

std::vector<String>& Steps() {
  static std::vector<String> steps;
  return steps;
}

TEST(Modules, StartInOrderAndStopInReverse) {
  std::vector<String> names;
  for (const TvxModule& m : vxFoundationModules()) names.emplace_back(m.Name);
  EXPECT_EQ(names, (std::vector<String>{"vdCore", "vxClasses", "vxGeometry", "vdGDIPlusAPI", "vxDWMApi",
                                         "vdUxTheme", "vdThemeManager", "vxDrawTextUtils", "vxGraphics",
                                         "vdGDIPlusClasses", "vdOffice11", "vxControls", "vxLookAndFeels",
                                         "vxLookAndFeelPainters", "vxContainer"}));

  Steps().clear();
  const std::vector<TvxModule> modules = {
      {"a", [] { Steps().push_back("start a"); }, [] { Steps().push_back("stop a"); }},
      {"b", [] { Steps().push_back("start b"); }, [] { Steps().push_back("stop b"); }},
      {"c", [] { throw Exception("c cannot start"); }, [] { Steps().push_back("stop c"); }},
  };
  EXPECT_THROW(vxStartModules(modules), Exception);
  EXPECT_EQ(Steps(), (std::vector<String>{"start a", "start b", "stop b", "stop a"}));

  // The real modules start and stop cleanly, twice over.
  for (int round = 0; round < 2; ++round) {
    TvxFoundationModules foundation;
    EXPECT_NE(FindClass("TvxRect"), nullptr);
    EXPECT_NE(FindClass("TvxBitmap32"), nullptr);
    EXPECT_NE(vdSharedUnitsLoader(), nullptr);
    EXPECT_TRUE(vdOffice11GradientFillBound());
  }
  EXPECT_FALSE(vdOffice11GradientFillBound());
  EXPECT_EQ(FindClass("TvxRect"), nullptr);
  EXPECT_EQ(FindClass("TvxBitmap32"), nullptr);
  EXPECT_EQ(vdSharedUnitsLoader(), nullptr);
}

}  // namespace
