// One cached theme handle per theme class, whether visual styles can be used
// for a set of classes, and a hidden window that hears theme and colour
// changes, closes the cached handles and tells the listeners.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <functional>
#include <optional>

#include "platform/Text.h"

enum TvdThemeClass : int {
  tcButton, tcClock, tcComboBox, tcEdit, tcExplorerBar, tcHeader, tcListBox, tcListView, tcMenu, tcPage,
  tcProgress, tcRebar, tcScrollBar, tcSpin, tcStartPanel, tcStatus, tcTab, tcTaskBand, tcTaskBar, tcToolBar,
  tcToolTip, tcTrackBar, tcTrayNotify, tcTreeView, tcWindow,
  tcCount
};
// Bit i for class i.
using TvdThemeClasses = uint32_t;
constexpr TvdThemeClasses vdThemeClassBit(TvdThemeClass c) { return TvdThemeClasses(1) << c; }

// The default class list of each class: its name.
extern const char16_t* const vdThemeClassNames[tcCount];

// Visual styles are on, the library is loaded, and every class of the set
// opens (the empty set tests only the first two).
bool vdThemeClassesUsable(TvdThemeClasses classes);
bool vdThemeClassUsable(TvdThemeClass cls);
// The class's theme handle, or 0. Without a class list the cached one is
// used (or the class's name); a class list that differs from the cached one
// (letter case aside) closes the cached handle first.
HTHEME vdOpenThemeClass(TvdThemeClass cls, std::optional<std::u16string_view> classList = std::nullopt);
// 1 when visual styles cannot be used, 0 when nothing was open, else the
// system's result. Forgets the class list too.
HRESULT vdCloseThemeClass(TvdThemeClass cls);
// Closes every open handle; the class lists stay for the next open.
void vdCloseAllThemeClasses();
// The class list a class was (or will be re)opened with; empty when none.
WideString vdThemeClassList(TvdThemeClass cls);

// A listener: joins the manager's list on construction, leaves it when
// destroyed.
class TvdThemeChangedNotificator {
 public:
  TvdThemeChangedNotificator();
  virtual ~TvdThemeChangedNotificator();
  TvdThemeChangedNotificator(const TvdThemeChangedNotificator&) = delete;
  TvdThemeChangedNotificator& operator=(const TvdThemeChangedNotificator&) = delete;

  virtual void FireThemeChanged();
  std::function<void()> OnThemeChanged;
};

// The window that hears WM_THEMECHANGED and WM_SYSCOLORCHANGE; nullptr when
// the library is not loaded.
HWND vdThemeChangedReceiverWindow();

void vdThemeManagerInitialize();
void vdThemeManagerFinalize();
