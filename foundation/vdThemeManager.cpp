#include "foundation/vdThemeManager.h"

#include <vector>

#include "foundation/vdUxTheme.h"
#include "platform/ui/UtilWindow.h"

const char16_t* const vdThemeClassNames[tcCount] = {
    u"Button",  u"Clock",   u"ComboBox",  u"Edit",    u"ExplorerBar", u"Header",   u"ListBox",
    u"ListView", u"Menu",   u"Page",      u"Progress", u"Rebar",      u"ScrollBar", u"Spin",
    u"StartPanel", u"Status", u"Tab",     u"TaskBand", u"TaskBar",    u"ToolBar",  u"ToolTip",
    u"TrackBar", u"TrayNotify", u"TreeView", u"Window"};

namespace {

struct TvdThemeData {
  HTHEME handle = nullptr;
  WideString classList;
};

struct ManagerState {
  bool visualStylesActive = false;
  TvdThemeData cache[tcCount];
  // Both exist only while the library is loaded.
  std::vector<TvdThemeChangedNotificator*>* listeners = nullptr;
  HWND receiver = nullptr;
};

ManagerState& State() {
  static ManagerState state;
  return state;
}

// Class lists compare as 8-bit text without regard to case.
bool SameClassList(std::u16string_view a, std::u16string_view b) {
  return AnsiUpperCase(WideToAnsi(a)) == AnsiUpperCase(WideToAnsi(b));
}

void HandleThemeMessage(HWND window, TMessage& m) {
  if (m.Msg != WM_THEMECHANGED && m.Msg != WM_SYSCOLORCHANGE) {
    DefaultUtilMessage(window, m);
    return;
  }
  ManagerState& s = State();
  vdCloseAllThemeClasses();
  DefaultUtilMessage(window, m);
  s.visualStylesActive = vdUxIsThemeActive() != FALSE;
  // The count is taken first: listeners added by a listener wait for the
  // next change.
  if (s.listeners) {
    const size_t count = s.listeners->size();
    for (size_t i = 0; i < count && i < s.listeners->size(); ++i) (*s.listeners)[i]->FireThemeChanged();
  }
  m.Result = 0;
}

}  // namespace

bool vdThemeClassesUsable(TvdThemeClasses classes) {
  if (!State().visualStylesActive || !vdUxThemeLibraryLoaded()) return false;
  for (int i = 0; i < tcCount; ++i)
    if ((classes & vdThemeClassBit(TvdThemeClass(i))) && !vdOpenThemeClass(TvdThemeClass(i))) return false;
  return true;
}

bool vdThemeClassUsable(TvdThemeClass cls) { return vdThemeClassesUsable(vdThemeClassBit(cls)); }

HTHEME vdOpenThemeClass(TvdThemeClass cls, std::optional<std::u16string_view> classList) {
  if (!vdThemeClassesUsable(0)) return nullptr;
  TvdThemeData& data = State().cache[cls];
  if (data.handle) {
    if (!classList || SameClassList(*classList, data.classList)) return data.handle;
    vdCloseThemeClass(cls);
  }
  const WideString list = classList                   ? WideString(*classList)
                          : !data.classList.empty()   ? data.classList
                                                      : WideString(vdThemeClassNames[cls]);
  data.handle = vdUxOpenThemeData(nullptr, reinterpret_cast<const wchar_t*>(list.c_str()));
  data.classList = data.handle ? list : WideString();
  return data.handle;
}

HRESULT vdCloseThemeClass(TvdThemeClass cls) {
  if (!vdThemeClassesUsable(0)) return 1;
  TvdThemeData& data = State().cache[cls];
  data.classList.clear();
  if (!data.handle) return 0;
  const HRESULT result = vdUxCloseThemeData(data.handle);
  data.handle = nullptr;
  return result;
}

void vdCloseAllThemeClasses() {
  for (TvdThemeData& data : State().cache)
    if (data.handle) {
      if (vdUxThemeLibraryLoaded()) vdUxCloseThemeData(data.handle);
      data.handle = nullptr;
    }
}

WideString vdThemeClassList(TvdThemeClass cls) { return State().cache[cls].classList; }

HWND vdThemeChangedReceiverWindow() { return State().receiver; }

TvdThemeChangedNotificator::TvdThemeChangedNotificator() {
  if (State().listeners) State().listeners->push_back(this);
}

TvdThemeChangedNotificator::~TvdThemeChangedNotificator() {
  if (!State().listeners) return;
  auto& list = *State().listeners;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == this) {
      list.erase(it);
      break;
    }
}

void TvdThemeChangedNotificator::FireThemeChanged() {
  if (OnThemeChanged) OnThemeChanged();
}

void vdThemeManagerInitialize() {
  ManagerState& s = State();
  if (!vdUxThemeLibraryLoaded() || s.receiver) return;
  s.visualStylesActive = vdUxIsThemeActive() != FALSE;
  s.listeners = new std::vector<TvdThemeChangedNotificator*>;
  HWND* receiver = &s.receiver;
  s.receiver = AllocateHWnd([receiver](TMessage& m) { HandleThemeMessage(*receiver, m); }, true);
}

void vdThemeManagerFinalize() {
  ManagerState& s = State();
  if (s.receiver) {
    s.visualStylesActive = false;
    DeallocateHWnd(s.receiver);
    s.receiver = nullptr;
  }
  vdCloseAllThemeClasses();
  for (TvdThemeData& data : s.cache) data.classList.clear();
  delete s.listeners;
  s.listeners = nullptr;
}
