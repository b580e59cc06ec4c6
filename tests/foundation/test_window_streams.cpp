// The platform pieces the foundation's windows and pictures stand on:
// window-procedure thunks and subclassing, and IStream over a platform
// stream, used by the real system (window messages, GDI+ codecs).
#include <gtest/gtest.h>

#include "foundation/vdGDIPlusAPI.h"
#include "platform/ui/StreamAdapter.h"
#include "platform/ui/WndProcThunk.h"

using namespace Gdiplus;

namespace {

constexpr UINT kPing = WM_USER + 1;

HWND MakeStatic() { return CreateWindowExA(0, "STATIC", "start", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr); }

TEST(WindowSubclass, TakesOverAndGivesBackTheProcedure) {
  HWND window = MakeStatic();
  ASSERT_NE(window, nullptr);
  const LONG_PTR original = GetWindowLongPtrA(window, GWLP_WNDPROC);
  std::vector<UINT> seen;
  {
    TWindowSubclass* self = nullptr;
    TWindowSubclass sub(window, [&](TMessage& m) {
      if (m.Msg == kPing) {
        seen.push_back(m.Msg);
        m.Result = LRESULT(m.WParam * 100 + m.LParam);
      } else {
        self->CallPrevious(m);
      }
    });
    self = &sub;
    // The whole pointer is the window's procedure.
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(sub.Proc()));
    EXPECT_EQ(sub.PreviousProc(), reinterpret_cast<WNDPROC>(original));
    EXPECT_EQ(SendMessageA(window, kPing, 7, 9), 709);
    // Everything else reaches the system's static control.
    SetWindowTextA(window, "changed");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "changed");
  }
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageA(window, kPing, 7, 9), 0);
  DestroyWindow(window);
}

TEST(WindowSubclass, ThunksKeepTheirObjectsApart) {
  HWND a = MakeStatic(), b = MakeStatic();
  TWindowSubclass subA(a, [](TMessage& m) { m.Result = 1; });
  TWindowSubclass subB(b, [](TMessage& m) { m.Result = 2; });
  EXPECT_EQ(SendMessageA(a, kPing, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, kPing, 0, 0), 2);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(WindowSubclass, ALowerSubclassThatGoesFirstKeepsTheChainWhole) {
  HWND window = MakeStatic();
  auto lower = std::make_unique<TWindowSubclass>(window, [](TMessage& m) { m.Result = 5; });
  TWindowSubclass* upperSelf = nullptr;
  TWindowSubclass upper(window, [&](TMessage& m) { upperSelf->CallPrevious(m); });
  upperSelf = &upper;
  EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 5);
  lower.reset();  // not on top: its procedure stays and passes messages on
  SetWindowTextA(window, "still works");
  char text[16] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "still works");
  EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 0);  // the static control's answer
  DestroyWindow(window);
}

TEST(WindowSubclass, ASilentAbortDoesNotLeaveTheProcedure) {
  HWND window = MakeStatic();
  TWindowSubclass sub(window, [](TMessage& m) {
    m.Result = 3;
    if (m.Msg == kPing) Abort();
  });
  EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 3);
  DestroyWindow(window);
}

TEST(StreamAdapter, GdiPlusWritesAndReadsThroughIt) {
  ASSERT_TRUE(vdGpIsLibraryAvailable());
  const CLSID png = vdGpLookupPngEncoder();
  GpBitmap* bitmap = vdGpNewBitmap(6, 4);
  TMemoryStream bytes;
  auto* out = new TStreamAdapter(bytes);
  vdGpCheckStatus(
      vdGpProc<decltype(&DllExports::GdipSaveImageToStream)>(gpGdipSaveImageToStream)(bitmap, out, &png, nullptr));
  out->Release();
  vdGpDisposeImage(bitmap);
  ASSERT_GT(bytes.Size(), 8);
  EXPECT_EQ(bytes.Memory()[1], 'P');

  // An adapter that owns its stream frees it with the last reference.
  auto* copy = new TMemoryStream;
  copy->WriteBuffer(bytes.Memory(), bytes.Size());
  copy->SetPosition(0);
  auto* in = new TStreamAdapter(*copy, soOwned);
  GpBitmap* read = nullptr;
  vdGpCheckStatus(vdGpProc<decltype(&DllExports::GdipCreateBitmapFromStream)>(gpGdipCreateBitmapFromStream)(in, &read));
  UINT width = 0;
  vdGpProc<decltype(&DllExports::GdipGetImageWidth)>(gpGdipGetImageWidth)(read, &width);
  EXPECT_EQ(width, 6u);
  vdGpDisposeImage(read);
  in->Release();
  vdUnloadGdiPlus();
}

TEST(StreamAdapter, AnswersAsAComStream) {
  TStringStream text("abcdef");
  TStreamAdapter* adapter = new TStreamAdapter(text);
  IStream* stream = nullptr;
  ASSERT_EQ(adapter->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)), S_OK);
  IUnknown* unknown = nullptr;
  EXPECT_EQ(adapter->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
  char buffer[8] = {};
  ULONG n = 0;
  EXPECT_EQ(stream->Read(buffer, 4, &n), S_OK);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(stream->Read(buffer, 8, &n), S_FALSE);  // only "ef" was left
  EXPECT_EQ(n, 2u);
  LARGE_INTEGER back;
  back.QuadPart = -3;
  ULARGE_INTEGER pos;
  EXPECT_EQ(stream->Seek(back, STREAM_SEEK_END, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 3u);
  STATSTG stat;
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 6u);
  IStream* target = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &target), S_OK);
  ULARGE_INTEGER all, read, written;
  all.QuadPart = 100;
  EXPECT_EQ(stream->CopyTo(target, all, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 3u);
  EXPECT_EQ(written.QuadPart, 3u);
  target->Release();
  EXPECT_EQ(stream->Release(), 1u);
  EXPECT_EQ(adapter->Release(), 0u);
}

}  // namespace
