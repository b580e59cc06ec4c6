// Skinned buttons, panels and frames: controllers that take their painter
// from the form that holds them (their parent controller), so they are
// skinned exactly while their form is and the program lets them be
// (OnSkinControl). Buttons and panels take over their painting; a frame is
// drawn like a form.
#pragma once

#include <windows.h>

#include <memory>

#include "foundation/vxLookAndFeelPainters.h"
#include "platform/ui/Graphics.h"
#include "skins/vdSkinsFormController.h"

class TvdSkinCustomController;
class TvxCanvas;

class TvdSkinCustomControlViewInfo : public TObject {
 public:
  explicit TvdSkinCustomControlViewInfo(TvdSkinCustomController* controller) : Controller(controller) {}
  const char* ClassName() const override { return "TvdSkinCustomControlViewInfo"; }

  TRect GetBounds() const;
  bool IsEnabled() const;
  bool IsFocused() const;
  bool IsHot() const;

  TvdSkinCustomController* Controller;
};

class TvdSkinButtonViewInfo : public TvdSkinCustomControlViewInfo {
 public:
  explicit TvdSkinButtonViewInfo(TvdSkinCustomController* controller);
  const char* ClassName() const override { return "TvdSkinButtonViewInfo"; }

  void UpdateState();
  void SetState(TvxButtonState state);
  void SetDefault(bool value);
  bool IsMultiLine() const;

  bool IsDefault = false;
  String Caption;
  TvxButtonState State = vxbsNormal;
};

class TvdSkinCustomControlPainter : public TObject {
 public:
  explicit TvdSkinCustomControlPainter(TvdSkinCustomControlViewInfo* viewInfo);
  ~TvdSkinCustomControlPainter() override;
  const char* ClassName() const override { return "TvdSkinCustomControlPainter"; }

  void BeginPaint(HDC dc);
  void EndPaint();
  TvxLookAndFeelPainterClass SkinPainter() const;
  void DrawParentBackground(bool withSiblings = true);
  void DrawButton(const String& caption, const TRect& r, TvxButtonState state, bool multiLine, TFont* font);
  void DrawFocusRect(const TRect& r);
  TCanvas* Canvas() { return &canvas_; }
  TvxCanvas* VxCanvas() { return vxCanvas_.get(); }
  HDC DC() const { return dc_; }

 private:
  TvdSkinCustomControlViewInfo* viewInfo_;
  TCanvas canvas_;
  std::unique_ptr<TvxCanvas> vxCanvas_;
  HDC dc_ = nullptr;
  bool ownsDC_ = false;
};

// The base of the button and panel controllers.
class TvdSkinCustomController : public TvdSkinWinController {
 public:
  explicit TvdSkinCustomController(HWND wnd);
  ~TvdSkinCustomController() override;
  const char* ClassName() const override { return "TvdSkinCustomController"; }

  TvdSkinWinController* FindParentController(HWND wnd) override;
  void ResolveSkinPainter() override {}
  void WndProc(TMessage& message) override;
  TvdSkinCustomControlViewInfo* ViewInfo() const { return viewInfo_.get(); }
  TvdSkinCustomControlPainter* Painter() const { return painter_.get(); }

 protected:
  // Made by the descendants' constructors (a virtual call would not reach
  // them from here).
  void SetViewInfo(std::unique_ptr<TvdSkinCustomControlViewInfo> viewInfo);
  virtual bool WMEraseBkgnd(TMessage& message);
  virtual bool WMPaint(TMessage& message);
  virtual void Paint(HDC dc) {}

 private:
  std::unique_ptr<TvdSkinCustomControlViewInfo> viewInfo_;
  std::unique_ptr<TvdSkinCustomControlPainter> painter_;
};

class TvdSkinButtonController : public TvdSkinCustomController {
 public:
  explicit TvdSkinButtonController(HWND wnd);
  const char* ClassName() const override { return "TvdSkinButtonController"; }

  TvdSkinButtonViewInfo* ButtonViewInfo() const { return static_cast<TvdSkinButtonViewInfo*>(ViewInfo()); }
  void WndProc(TMessage& message) override;
  void MouseLeave() override;

 protected:
  void Paint(HDC dc) override;
};

class TvdSkinPanelController : public TvdSkinCustomController {
 public:
  explicit TvdSkinPanelController(HWND wnd);
  const char* ClassName() const override { return "TvdSkinPanelController"; }

  void WndProc(TMessage& message) override;

 protected:
  bool WMEraseBkgnd(TMessage& message) override { return false; }
  bool WMPaint(TMessage& message) override;
  virtual bool WMPrintClient(TMessage& message);
  void Paint(HDC dc) override;

 private:
  bool painting_ = false;
};

// A frame is drawn like a form with its form's painter; with
// ParentBackground its client shows what lies behind it.
class TvdSkinFrameController : public TvdSkinFormController {
 public:
  using TvdSkinFormController::TvdSkinFormController;
  const char* ClassName() const override { return "TvdSkinFrameController"; }

  TvdSkinWinController* FindParentController(HWND wnd) override;
  void ResolveSkinPainter() override {}
  void PaintClientBackground(HDC dc) override;

 protected:
  void WMWindowPosChanged(TMessage& message) override;

 private:
  bool HasParentBackground() const;
};
