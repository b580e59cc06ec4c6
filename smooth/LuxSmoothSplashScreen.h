// The splash screen component: a borderless window over the screen's
// centre, shown while the host form is created. It draws a background
// picture, the program name and version headings, a list of HTML lines
// (whose IMG tags name pictures of its picture container) and a progress
// bar. Everything repaints at once, because its host blocks the message
// loop while it drives the splash. With CloseOnMainFormShow it closes when
// its owner form is shown for the first time.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "smooth/GDIPFill.h"
#include "smooth/GDIPPictureContainer.h"

class TLuxSmoothSplashScreen;

enum TItemLocation { ilTopLeft, ilTopCenter, ilTopRight, ilBottomLeft, ilBottomCenter, ilBottomRight, ilCustom };

class TSplashHeadingText {
 public:
  explicit TSplashHeadingText(TLuxSmoothSplashScreen* splash) : splash_(splash) {}
  const String& Text() const { return text_; }
  // A different text is stored and repaints the splash.
  void SetText(const String& text);
  TFont* Font() { return &font_; }
  TColor ColorStart = clBlack;
  TColor ColorEnd = clBlack;
  // Plain fields: a write does not repaint.
  TItemLocation Location = ilTopLeft;
  int PosX = 0;
  int PosY = 0;

 private:
  TLuxSmoothSplashScreen* splash_;
  String text_;
  TFont font_;
};

class TBasicProgramInfo {
 public:
  explicit TBasicProgramInfo(TLuxSmoothSplashScreen* splash) : ProgramName(splash), ProgramVersion(splash) {}
  TSplashHeadingText ProgramName;
  TSplashHeadingText ProgramVersion;
};

class TSplashListItems;

class TSplashListItem {
 public:
  explicit TSplashListItem(TSplashListItems* list) : list_(list) {}
  const String& HTMLText() const { return htmlText_; }
  // Stores the text without repainting (the item's EndUpdate does).
  void SetHTMLText(const String& text) { htmlText_ = text; }
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

 private:
  TSplashListItems* list_;
  String htmlText_;
  int updateCount_ = 0;
};

class TSplashListItems {
 public:
  explicit TSplashListItems(TLuxSmoothSplashScreen* splash) : splash_(splash) {}
  TSplashListItem* Add();
  void Clear();
  int Count() const { return int(items_.size()); }
  TSplashListItem* Items(int index) const { return items_.at(index).get(); }
  // An item finished an update.
  void Changed();

 private:
  TLuxSmoothSplashScreen* splash_;
  std::vector<std::unique_ptr<TSplashListItem>> items_;
};

// The list's area in the window: plain fields, no repaint on a write.
struct TSplashRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

class TSplashListItemsSettings {
 public:
  TSplashRect Rect;
  TFont* HTMLFont() { return &htmlFont_; }

 private:
  TFont htmlFont_;
};

class TGDIPSplashProgress {
 public:
  explicit TGDIPSplashProgress(TLuxSmoothSplashScreen* splash) : splash_(splash) {}
  double Position() const { return position_; }
  // A different position is stored and repaints the bar.
  void SetPosition(double value);
  bool Visible = false;
  int Left = 0;
  int Top = 0;
  int Height = 20;
  double Maximum = 100;
  double Step = 10;
  // printf format of the value shown on the bar.
  String ValueFormat = "%.0f%%";
  TColor ColorStart = clGreen;
  TColor ColorEnd = clTeal;
  TColor BorderColor = clGray;
  TFont* Font() { return &font_; }

 private:
  TLuxSmoothSplashScreen* splash_;
  double position_ = 0;
  TFont font_;
};

class TLuxSplashWindow;

class TLuxSmoothSplashScreen : public TComponent {
 public:
  explicit TLuxSmoothSplashScreen(TComponent* owner);
  ~TLuxSmoothSplashScreen() override;
  const char* ClassName() const override { return "TLuxSmoothSplashScreen"; }

  bool AutoShow() const { return autoShow_; }
  void SetAutoShow(bool value) { autoShow_ = value; }
  bool CloseOnMainFormShow() const { return closeOnMainFormShow_; }
  void SetCloseOnMainFormShow(bool value) { closeOnMainFormShow_ = value; }
  TBasicProgramInfo* BasicProgramInfo() { return &programInfo_; }
  TGDIPFill* Fill() { return &fill_; }
  TGDIPSplashProgress* ProgressBar() { return &progress_; }
  TSplashListItemsSettings* ListItemsSettings() { return &listSettings_; }
  TSplashListItems* ListItems() { return &listItems_; }
  TGDIPPictureContainer* PictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(TGDIPPictureContainer* container) { pictureContainer_ = container; }

  // Called once the owner has set every property: shows the splash
  // (AutoShow) and hooks the owner form's OnShow (CloseOnMainFormShow).
  void Loaded() override;
  // Does nothing when the splash already shows.
  void Show();
  void Close();
  bool Showing() const;
  // The splash window (nullptr while it does not show).
  HWND Handle() const;
  // A routed close of the window (Alt+F4, the task list) goes to this
  // handler instead of closing the splash.
  TNotifyEvent OnCloseRequest;

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  // Repaints now unless an update is running.
  void Changed();

  // 20 ms from now, clicks at control's client origin and puts the mouse
  // back, which activates the control's form.
  void ActivateFormLater(TWinControl* control);

 private:
  friend class TLuxSplashWindow;
  void Paint(HDC dc, int width, int height);
  void ClickLater();

  bool autoShow_ = true;
  bool closeOnMainFormShow_ = true;
  bool closedOnShow_ = false;
  int updateCount_ = 0;
  TBasicProgramInfo programInfo_{this};
  TGDIPFill fill_;
  TGDIPSplashProgress progress_{this};
  TSplashListItemsSettings listSettings_;
  TSplashListItems listItems_{this};
  TGDIPPictureContainer* pictureContainer_ = nullptr;
  TLuxSplashWindow* window_ = nullptr;
  TTimer* activateTimer_ = nullptr;
  TWinControl* activateTarget_ = nullptr;
};
