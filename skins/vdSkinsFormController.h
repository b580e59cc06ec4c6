// The skinned form: its controller takes over the non-client area of a form
// window while a skin painter is chosen for it. The non-client info gathers
// what the window, the system and the skin say and lays out the frame with
// TvdSkinFormLayout; the form painter draws caption, frame, caption buttons
// and window scroll bars from that layout, composing the caption off-screen.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "platform/ui/Graphics.h"
#include "skins/vdSkinsForm.h"
#include "skins/vdSkinsFormLayout.h"

// The element states (vdSkinsCore.h), declared here without the skin model.
enum TvdSkinElementState : uint8_t;
class TvdSkinInfo;
class TvdSkinElement;
class TvdSkinElementCache;
class TvdSkinFormController;
class TvdSkinFormNonClientAreaInfo;
class TvxCanvas;

// --- Caption buttons ----------------------------------------------------------------------

class TvdSkinFormIconInfoList;

class TvdSkinFormIconInfo : public TObject {
 public:
  TvdSkinFormIconInfo(int iconType, TvdSkinFormIconInfoList* owner) : IconType(iconType), Owner(owner) {}
  const char* ClassName() const override { return "TvdSkinFormIconInfo"; }

  int IconType;
  TvdSkinFormIconInfoList* Owner;
  TvdSkinElementState State{};
  TRect Bounds, HitBounds;

  // esActiveDisabled for an inactive form; esPressed while the left button
  // is down on the hot icon that was pressed; esHot for the hot enabled
  // icon; esNormal otherwise.
  TvdSkinElementState CalculateState() const;
};

class TvdSkinFormIconInfoList : public TvxObjectList {
 public:
  explicit TvdSkinFormIconInfoList(TvdSkinFormNonClientAreaInfo* info) : TvxObjectList(true), NonClientAreaInfo(info) {}
  const char* ClassName() const override { return "TvdSkinFormIconInfoList"; }

  TvdSkinFormIconInfo* Items(int index) const { return static_cast<TvdSkinFormIconInfo*>(GetItem(index)); }
  TvdSkinFormIconInfo* Find(int iconType) const;
  TvdSkinFormIconInfo* GetOrAdd(int iconType);
  TvdSkinFormIconInfo* IconAt(TPoint p) const;
  void RemoveNotIn(TvdSkinFormIconTypes set);
  // True when any state changed.
  bool UpdateStates(TPoint p);

  TvdSkinFormNonClientAreaInfo* NonClientAreaInfo;
  TvdSkinFormIconInfo* HotIcon = nullptr;
  TvdSkinFormIconInfo* PressedIcon = nullptr;
};

// --- The non-client info --------------------------------------------------------------------

class TvdSkinFormNonClientAreaInfo : public TObject {
 public:
  explicit TvdSkinFormNonClientAreaInfo(TvdSkinFormController* controller);
  ~TvdSkinFormNonClientAreaInfo() override;
  const char* ClassName() const override { return "TvdSkinFormNonClientAreaInfo"; }

  HWND Window() const;
  TvdSkinFormController* Controller() const { return controller_; }
  const TvdSkinFormLayout& Layout() const { return layout_; }
  TvdSkinInfo* SkinInfo() const { return skinInfo_; }
  TvxLookAndFeelPainterClass SkinPainter() const { return skinPainter_; }
  TvdSkinFormIconInfoList& Icons() { return icons_; }
  HFONT CaptionFont() { return captionFont_.Handle(); }
  const String& CaptionText() const { return captionText_; }
  HICON IconHandle() const { return iconHandle_; }
  TColor TextShadowColor() const { return textShadowColor_; }
  bool Active() const { return active_; }
  int SizeType() const { return sizeType_; }
  bool UseSystemFrame() const { return layout_.UseSystemFrame(); }
  const TvdSkinScrollBarsLayout& ScrollBars() const { return scrollBars_; }
  int TrackedScrollBar = vdSkinScrollNone;

  void Calculate();
  void CalculateScrollBars();
  int HitTest(TPoint screenPoint, int current) const;
  bool FindScrollPartAt(int& bar, int& part) const;
  bool UpdateIconStates();
  void UpdatePressedIcon(bool down);
  void SetActive(bool value);
  void SetSizeType(int value);
  void RefreshCaptionText();
  TColor CaptionTextColor() const { return active_ ? activeTextColor_ : inactiveTextColor_; }
  bool ShowTextShadow() const;
  void BuildSystemMenu(HMENU sysMenu);
  void ResetSystemMenu();
  void ForgetThemeState() { themeActiveKnown_ = false; }
  TPoint ScreenToWindow(TPoint p) const;
  TRect WindowToScreen(const TRect& r) const;
  // The frame parts, menu separator and scroll bars in window coordinates;
  // the caller owns the region.
  HRGN CreateNonClientRegion() const;
  // The frame set in use: 0 for a tool window, 1 otherwise.
  int FrameSet() const { return layout_.IsToolWindow() ? 0 : 1; }
  TvdSkinElement* FrameElement(int side) const;
  TvdSkinElement* ButtonElement(int iconType) const;

 private:
  TvdSkinFormWindowFacts GatherFacts();
  void CalculateCaptionFont();
  int CalculateMenuHeight() const;
  HICON GetWindowIcon() const;
  bool ThemeActive();

  TvdSkinFormController* controller_;
  TvdSkinFormLayout layout_;
  TvdSkinFormSkinMeasures measures_;
  TvdSkinFormSystemMetrics metrics_;
  TvxLookAndFeelPainterClass skinPainter_ = nullptr;
  TvdSkinInfo* skinInfo_ = nullptr;
  TFont captionFont_;
  String captionText_;
  TColor activeTextColor_ = 0, inactiveTextColor_ = 0, textShadowColor_ = 0;
  HICON iconHandle_ = nullptr;
  TvdSkinFormIconInfoList icons_{this};
  bool active_ = true;
  int sizeType_ = 0;
  HMENU systemMenuTemplate_ = nullptr;
  bool themeActive_ = false, themeActiveKnown_ = false;
  TvdSkinScrollBarsLayout scrollBars_;
};

// --- The form painter ---------------------------------------------------------------------

class TvdSkinFormPainter : public TObject {
 public:
  explicit TvdSkinFormPainter(TvdSkinFormNonClientAreaInfo* info);
  ~TvdSkinFormPainter() override;
  const char* ClassName() const override { return "TvdSkinFormPainter"; }

  void BeginPaint(HDC dc);
  void EndPaint();
  void ResetCaches();
  TCanvas* Canvas() { return &canvas_; }
  TvxCanvas* VxCanvas() { return vxCanvas_.get(); }

  void DrawClientBackground();
  void DrawNonClient();
  void DrawWindowScrollBars();
  void DrawContent(HDC dc, const TRect& r);

 private:
  void DrawMDIClientEdge();
  void DrawBorderWidthArea();
  void DrawMenuSeparator();
  void DrawCaption(HDC dc, const TRect& r, TvdSkinElement* element);
  void DrawCaptionBackground(HDC dc, TRect r, TvdSkinElement* element);
  void DrawCaptionText(HDC dc, const TRect& r);
  void DrawTextLine(HDC dc, const TRect& r, const String& text);
  void DrawIcon(HDC dc, const TRect& r, int iconType, TvdSkinElement* element, TvdSkinElementState state);
  void DrawFrame();
  void DrawFramePart(HDC dc, const TRect& r, int side, bool viaBitmap, bool thin);
  void DrawScrollBars(HDC dc);
  void DrawScrollBar(HDC dc, int bar, const TRect& r);
  TvdSkinElementState FrameState() const;

  TvdSkinFormNonClientAreaInfo* info_;
  TCanvas canvas_;
  std::unique_ptr<TvxCanvas> vxCanvas_;
  HDC dc_ = nullptr;
  bool ownsDC_ = false;
  TvxLookAndFeelPainterClass skinPainter_ = nullptr;
  TvdSkinInfo* skinInfo_ = nullptr;
  std::unique_ptr<TvdSkinElementCache> contentCache_;
  std::array<std::unique_ptr<TvdSkinElementCache>, 4> frameCaches_;
  std::array<std::unique_ptr<TvdSkinElementCache>, vdSkinFormIconTypeCount> iconCaches_;
};

// --- The form controller ------------------------------------------------------------------

class TvdSkinFormController : public TvdSkinWinController {
 public:
  explicit TvdSkinFormController(HWND wnd);
  ~TvdSkinFormController() override;
  const char* ClassName() const override { return "TvdSkinFormController"; }

  TvdSkinFormNonClientAreaInfo* NonClientInfo() const { return nonClientInfo_.get(); }
  TvdSkinFormPainter* FormPainter() const { return formPainter_.get(); }
  TCustomForm* Form() const { return dynamic_cast<TCustomForm*>(Control()); }
  bool RegionApplied() const { return regionApplied_; }
  int RedrawLockCount() const { return redrawLockCount_; }

  bool IsSkinActive() const override;
  void ResolveSkinPainter() override;
  void UnhookWindowProc() override;
  void WndProc(TMessage& message) override;
  void MouseLeave() override;
  void RefreshFrame() override;
  void ResetSkinPainter() override;

  virtual void CalculateNonClient();
  virtual void UpdateWindowRegion();
  virtual void PaintClientBackground(HDC dc);
  virtual void PaintNonClient(HDC dc);
  virtual void PaintScrollBars(HDC dc);
  virtual void RemoveWindowRegion(bool redraw);
  virtual void MakeLabelsTransparent();
  virtual bool HandlePrivateMessage(TMessage& message);
  virtual bool HandleSkinMessage(TMessage& message);
  void UpdateSizeState();
  void LockRedraw();
  void UnlockRedraw();
  bool UpdateHotState(bool force);
  void PopupSystemMenu(TPoint p);

 protected:
  virtual void WMActivate(TMessage& message);
  virtual bool WMContextMenu(TMessage& message);
  virtual void WMEraseBkgnd(TMessage& message);
  virtual void WMInitMenu(TMessage& message);
  virtual void WMNCActivate(TMessage& message);
  virtual void WMNCLButtonDown(TMessage& message);
  virtual void WMNCCalcSize(TMessage& message);
  virtual bool WMNCHitTest(TMessage& message);
  virtual bool WMNCLButtonUp(TMessage& message);
  virtual void WMNCPaint(TMessage& message);
  virtual void WMPaint(TMessage& message);
  virtual void WMPrint(TMessage& message);
  virtual void WMSetText(TMessage& message);
  virtual void WMSize(TMessage& message);
  virtual void WMSysCommand(TMessage& message);
  virtual void WMPopupSystemMenu(TMessage& message);
  virtual void WMWindowPosChanged(TMessage& message);

 private:
  // Runs fn with a weak link to this controller; true when it still lives.
  template <class Fn>
  bool Guarded(Fn fn);
  void PreProcess(TMessage& message);
  void PostProcess(TMessage& message);

  bool pendingNonClientRepaint_ = false;
  bool regionApplied_ = false;
  int redrawLockCount_ = 0;
  std::unique_ptr<TvdSkinFormNonClientAreaInfo> nonClientInfo_;
  std::unique_ptr<TvdSkinFormPainter> formPainter_;
};
