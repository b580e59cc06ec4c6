// Look-and-feel settings, the controller that edits the root, and the
// palette listener window.
//
// Invariant: a look-and-feel that is not the root sits in the listener list
// of its effective master (its master, else the root) and nowhere else, so
// a change reaches every follower exactly once.
#include "foundation/vxLookAndFeels.h"

#include <vector>

#include "foundation/vdOffice11.h"
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "platform/FormStreams.h"
#include "platform/ui/UtilWindow.h"

bool vxUseSkins = true;

namespace {

struct TvxLookAndFeelsState {
  std::unique_ptr<TvxLookAndFeel> rootOwner;
  // Cleared by the root's destructor before the owner lets go of it.
  TvxLookAndFeel* root = nullptr;
  int controllerCount = 0;
};

TvxLookAndFeelsState& State() {
  static TvxLookAndFeelsState state;
  return state;
}

bool IsController(IvxLookAndFeelObserver* observer) {
  return dynamic_cast<TvxLookAndFeelController*>(observer->GetObserverObject()) != nullptr;
}

}  // namespace

TvxLookAndFeelPainterClass vxLookAndFeelPainterOfKind(TvxLookAndFeelKind kind) {
  switch (kind) {
    case lfFlat: return &TvxFlatLookAndFeelPainter::Painter();
    case lfStandard: return &TvxStandardLookAndFeelPainter::Painter();
    case lfOffice11: return &TvxOffice11LookAndFeelPainter::Painter();
    default: return &TvxUltraFlatLookAndFeelPainter::Painter();
  }
}

// --- Palette listener ---------------------------------------------------------------

namespace {

class TvxSystemPaletteChangedListener {
 public:
  TvxSystemPaletteChangedListener() {
    vdAddRefOffice11Colors();
    window_ = AllocateHWnd([this](TMessage& m) { HandleWindowMessage(m); }, true);
  }
  ~TvxSystemPaletteChangedListener() {
    DeallocateHWnd(window_);
    vdReleaseOffice11Colors();
  }
  TvxSystemPaletteChangedListener(const TvxSystemPaletteChangedListener&) = delete;
  TvxSystemPaletteChangedListener& operator=(const TvxSystemPaletteChangedListener&) = delete;

  void RegisterNotifier(TvxSystemPaletteChangedNotifier* notifier, bool isPrimary) {
    (isPrimary ? primary_ : ordinary_).push_back(notifier);
  }
  void UnregisterNotifier(TvxSystemPaletteChangedNotifier* notifier, bool isPrimary) {
    auto& list = isPrimary ? primary_ : ordinary_;
    std::erase(list, notifier);
  }
  HWND Window() const { return window_; }

 private:
  // Primary notifiers (shared resources) first, so that ordinary ones repaint
  // with them rebuilt; each list from its last entry. A notifier freed by
  // another's handler is not called.
  void BroadcastPaletteChange() {
    vdRefreshOffice11Colors();
    for (auto* list : {&primary_, &ordinary_}) {
      const std::vector<TvxSystemPaletteChangedNotifier*> snapshot = *list;
      for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (std::find(list->begin(), list->end(), *it) != list->end()) (*it)->FireSystemPaletteChanged();
    }
  }

  void HandleWindowMessage(TMessage& m) {
    if (m.Msg == WM_SYSCOLORCHANGE) {
      try {
        BroadcastPaletteChange();
      } catch (...) {
        DefaultUtilMessage(window_, m);
        throw;
      }
    }
    DefaultUtilMessage(window_, m);
  }

  std::vector<TvxSystemPaletteChangedNotifier*> ordinary_;
  std::vector<TvxSystemPaletteChangedNotifier*> primary_;
  HWND window_ = nullptr;
};

struct TvxPaletteListenerState {
  std::unique_ptr<TvxSystemPaletteChangedListener> listener;
  int users = 0;
};

TvxPaletteListenerState& PaletteState() {
  static TvxPaletteListenerState state;
  return state;
}

}  // namespace

void vxAddRefPaletteListener() {
  TvxPaletteListenerState& s = PaletteState();
  if (s.users++ == 0) s.listener = std::make_unique<TvxSystemPaletteChangedListener>();
}

void vxReleasePaletteListener() {
  TvxPaletteListenerState& s = PaletteState();
  if (s.users > 0 && --s.users == 0) s.listener.reset();
}

HWND vxPaletteListenerWindow() {
  const auto& listener = PaletteState().listener;
  return listener ? listener->Window() : nullptr;
}

TvxSystemPaletteChangedNotifier::TvxSystemPaletteChangedNotifier(bool isPrimary) : isPrimary_(isPrimary) {
  vxAddRefPaletteListener();
  PaletteState().listener->RegisterNotifier(this, isPrimary_);
}

TvxSystemPaletteChangedNotifier::~TvxSystemPaletteChangedNotifier() {
  PaletteState().listener->UnregisterNotifier(this, isPrimary_);
  vxReleasePaletteListener();
}

void TvxSystemPaletteChangedNotifier::FireSystemPaletteChanged() {
  if (OnSystemPaletteChanged) OnSystemPaletteChanged();
}

// --- TvxLookAndFeel ---------------------------------------------------------------------

TvxLookAndFeel::TvxLookAndFeel(TPersistent* owner) : TvxInterfacedPersistent(owner) {
  current_ = local_;
  paletteNotifier_ = std::make_unique<TvxSystemPaletteChangedNotifier>(false);
  paletteNotifier_->OnSystemPaletteChanged = [this] { HandleSystemPaletteChange(); };
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->AddChangeListener(this);
  // The root computes its state too: left at its local record it would
  // believe skins off, and a later switch of vxUseSkins to off with an
  // empty change would stop at it.
  UpdateCurrentState();
  current_.Painter = PainterForThemeClasses(0);
}

TvxLookAndFeel::~TvxLookAndFeel() {
  if (TvxExtendedStylePainters* registry = vxGetStylePainterRegistry()) registry->RemoveObserver(this);
  paletteNotifier_.reset();
  destroying_ = true;
  // Followers call back to leave this object while it is destroyed; the list
  // stays as it is until the loop ends.
  const int count = listeners_.Count();
  for (int i = 0; i < count; ++i)
    if (auto* observer = Supports<IvxLookAndFeelObserver>(listeners_.GetItem(i)))
      observer->HandleLookAndFeelDestroy(this);
  destroying_ = false;
  if (TvxLookAndFeel* master = EffectiveMaster()) master->RemoveChangeListener(this);
  if (isRoot_) {
    State().root = nullptr;
    isRoot_ = false;
  }
}

void TvxLookAndFeel::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TvxLookAndFeel*>(source);
  if (!other) {
    TvxInterfacedPersistent::Assign(source);
    return;
  }
  SnapshotState();
  local_ = other->local_;
  assignedValues_ = other->assignedValues_;
  ChangeMaster(other->EffectiveMaster());
  NotifyDifferences();
}

void TvxLookAndFeel::AddChangeListener(TObject* object) {
  auto* observer = object ? Supports<IvxLookAndFeelObserver>(object) : nullptr;
  if (!observer) return;
  const bool controller = IsController(observer);
  if (controller && !isRoot_) return;
  if (listeners_.IndexOf(object) >= 0) return;
  listeners_.Add(object);
  if (controller) ++State().controllerCount;
}

void TvxLookAndFeel::RemoveChangeListener(TObject* object) {
  auto* observer = object ? Supports<IvxLookAndFeelObserver>(object) : nullptr;
  if (!observer || destroying_) return;
  const int index = listeners_.IndexOf(object);
  if (index < 0) return;
  listeners_.Delete(index);
  if (isRoot_ && IsController(observer) && --State().controllerCount == 0) ClearAssignedValues();
}

TvxLookAndFeel* TvxLookAndFeel::EffectiveMaster() const {
  if (isRoot_) return nullptr;
  return master_ ? master_ : vxGetLookAndFeelRoot();
}

bool TvxLookAndFeel::ChainReaches(const TvxLookAndFeel* master) const {
  for (const TvxLookAndFeel* m = master; m; m = m->master_)
    if (m == this) return true;
  return false;
}

void TvxLookAndFeel::ChangeMaster(TvxLookAndFeel* master) {
  if (isRoot_ || master == this || master == EffectiveMaster()) return;
  // Following a master that already follows this object would send every
  // change round the ring for ever.
  if (ChainReaches(master)) return;
  SnapshotState();
  if (TvxLookAndFeel* old = EffectiveMaster()) old->RemoveChangeListener(this);
  master_ = master;
  if (TvxLookAndFeel* now = EffectiveMaster()) now->AddChangeListener(this);
  NotifyDifferences();
}

void TvxLookAndFeel::SetAssignedValues(TvxLookAndFeelValues value) {
  value &= lfvAll;
  if (value == assignedValues_) return;
  SnapshotState();
  assignedValues_ = value;
  NotifyDifferences();
}

void TvxLookAndFeel::SetKind(TvxLookAndFeelKind value) {
  const TvxLookAndFeelKind old = current_.Kind;
  assignedValues_ |= lfvKind;
  local_.Kind = value;
  if (EffectiveKind() != old) PropagateChange(lfvKind);
}

void TvxLookAndFeel::SetNativeStyle(bool value) {
  const bool old = current_.NativeStyle;
  assignedValues_ |= lfvNativeStyle;
  local_.NativeStyle = value;
  if (EffectiveNativeStyle() != old) PropagateChange(lfvNativeStyle);
}

void TvxLookAndFeel::SetSkinName(const TvdSkinName& value) {
  // Compared with letter case: a change of case alone is a change here,
  // though the registry finds the same painter.
  const TvdSkinName old = current_.SkinName;
  assignedValues_ |= lfvSkinName;
  local_.SkinName = value;
  if (EffectiveSkinName() != old) PropagateChange(lfvSkinName);
}

void TvxLookAndFeel::SnapshotState() {
  saved_.Kind = current_.Kind;
  saved_.NativeStyle = current_.NativeStyle;
  saved_.SkinName = current_.SkinName;
}

void TvxLookAndFeel::NotifyDifferences() {
  TvxLookAndFeelValues changed = 0;
  if (EffectiveKind() != saved_.Kind) changed |= lfvKind;
  if (EffectiveNativeStyle() != saved_.NativeStyle) changed |= lfvNativeStyle;
  if (EffectiveSkinName() != saved_.SkinName) changed |= lfvSkinName;
  PropagateChange(changed);
}

TvxLookAndFeel* TvxLookAndFeel::InheritedSource() const { return isRoot_ ? nullptr : EffectiveMaster(); }

TvxLookAndFeelKind TvxLookAndFeel::EffectiveKind() const {
  if (assignedValues_ & lfvKind) return local_.Kind;
  const TvxLookAndFeel* source = InheritedSource();
  return source ? source->current_.Kind : lfUltraFlat;
}

bool TvxLookAndFeel::EffectiveNativeStyle() const {
  if (assignedValues_ & lfvNativeStyle) return local_.NativeStyle;
  const TvxLookAndFeel* source = InheritedSource();
  return source ? source->current_.NativeStyle : false;
}

TvdSkinName TvxLookAndFeel::EffectiveSkinName() const {
  if (assignedValues_ & lfvSkinName) return local_.SkinName;
  const TvxLookAndFeel* source = InheritedSource();
  return source ? source->current_.SkinName : TvdSkinName();
}

TvxLookAndFeelPainterClass TvxLookAndFeel::EffectiveSkinPainter() const {
  TvxLookAndFeelPainterClass painter = nullptr;
  if (assignedValues_ & lfvSkinName)
    FindSkinPainter(local_.SkinName, painter);
  else if (const TvxLookAndFeel* source = InheritedSource())
    source->FindSkinPainter(source->current_.SkinName, painter);
  return painter;
}

bool TvxLookAndFeel::FindSkinPainter(const TvdSkinName& skinName, TvxLookAndFeelPainterClass& painter) const {
  TvxLookAndFeelPainterClass found = nullptr;
  const TvxExtendedStylePainters* registry = vxGetStylePainterRegistry();
  const bool result = !skinName.empty() && registry && registry->FindPainterByName(skinName, found);
  painter = result && vxUseSkins ? found : nullptr;
  return result;
}

void TvxLookAndFeel::UpdateCurrentState() {
  current_.Kind = EffectiveKind();
  current_.NativeStyle = EffectiveNativeStyle();
  current_.SkinName = EffectiveSkinName();
  current_.UseSkins = vxUseSkins;
  skinPainter_ = current_.NativeStyle ? nullptr : EffectiveSkinPainter();
}

TvxLookAndFeelPainterClass TvxLookAndFeel::PainterForThemeClass(TvdThemeClass themeClass) const {
  return PainterForThemeClasses(vdThemeClassBit(themeClass));
}

TvxLookAndFeelPainterClass TvxLookAndFeel::PainterForThemeClasses(TvdThemeClasses themeClasses) const {
  if (current_.NativeStyle && vdThemeClassesUsable(themeClasses)) return &TvxWinXPLookAndFeelPainter::Painter();
  if (skinPainter_) return skinPainter_;
  return vxLookAndFeelPainterOfKind(current_.Kind);
}

void TvxLookAndFeel::PropagateChange(TvxLookAndFeelValues changedValues) {
  if (changedValues == 0 && current_.UseSkins == vxUseSkins) return;
  if (destroying_) return;
  UpdateCurrentState();
  current_.Painter = PainterForThemeClasses(0);
  // Objects that name a skin follow the registry even while the name finds
  // no painter, so that a skin registered later reaches them.
  if (TvxExtendedStylePainters* registry = vxGetStylePainterRegistry()) {
    if (skinPainter_ || !current_.SkinName.empty())
      registry->AddObserver(this);
    else
      registry->RemoveObserver(this);
  }
  // A listener that leaves the list during its call keeps its successor from
  // being skipped: the index moves on only while the count holds.
  int index = 0;
  while (index < listeners_.Count()) {
    const int count = listeners_.Count();
    if (auto* observer = Supports<IvxLookAndFeelObserver>(listeners_.GetItem(index)))
      observer->HandleLookAndFeelChange(this, changedValues);
    if (listeners_.Count() == count) ++index;
  }
  if (OnChanged) OnChanged(this, changedValues);
}

void TvxLookAndFeel::HandleLookAndFeelChange(TvxLookAndFeel*, TvxLookAndFeelValues changedValues) {
  PropagateChange(changedValues & ~assignedValues_ & lfvAll);
}

void TvxLookAndFeel::HandleLookAndFeelDestroy(TvxLookAndFeel*) { ChangeMaster(nullptr); }

void TvxLookAndFeel::HandlePainterRegistration(TvxLookAndFeelPainterClass) { PropagateChange(lfvAll); }

void TvxLookAndFeel::HandleSystemPaletteChange() { PropagateChange(lfvNativeStyle); }

// The published values, and "SkinName" defined once more so that a name
// assigned but empty (which the published rule does not write) is kept.
TClass TvxLookAndFeelClass() {
  using L = TvxLookAndFeel;
  static const std::vector<String> kinds = {"lfFlat", "lfStandard", "lfUltraFlat", "lfOffice11"};
  static const TClassInfo info(
      "TvxLookAndFeel", TPersistentClass(),
      [] {
        std::vector<TPropInfo> props = {
            OrdinalProp<L>(
                "AssignedValues", TPropKind::Set, [](const L& l) { return int64_t(l.AssignedValues()); },
                [](L& l, int64_t v) { l.SetAssignedValues(TvxLookAndFeelValues(v)); }, std::nullopt,
                {"lfvKind", "lfvNativeStyle", "lfvSkinName"}),
            OrdinalProp<L>(
                "Kind", TPropKind::Enum, [](const L& l) { return int64_t(l.GetKind()); },
                [](L& l, int64_t v) { l.SetKind(TvxLookAndFeelKind(v)); }, std::nullopt, kinds),
            BooleanProp<L>(
                "NativeStyle", [](const L& l) { return l.GetNativeStyle(); },
                [](L& l, bool v) { l.SetNativeStyle(v); }),
            StringProp<L>(
                "SkinName", [](const L& l) { return l.GetSkinName(); },
                [](L& l, const String& v) { l.SetSkinName(v); })};
        props[0].Stored = [](const TPersistent&) { return false; };
        props[1].Stored = [](const TPersistent& o) { return static_cast<const L&>(o).IsKindStored(); };
        props[2].Stored = [](const TPersistent& o) { return static_cast<const L&>(o).IsNativeStyleStored(); };
        props[3].Stored = [](const TPersistent& o) { return static_cast<const L&>(o).IsSkinNameStored(); };
        return props;
      }(),
      {},
      [](TPersistent& instance, TFiler& filer) {
        auto& l = static_cast<L&>(instance);
        filer.DefineProperty(
            "SkinName", [&l](TReader& r) { l.SetSkinName(r.ReadString()); },
            [&l](TWriter& w) { w.WriteString(l.GetSkinName()); },
            l.IsSkinNameStored() && l.GetSkinName().empty());
      });
  return &info;
}

TvxLookAndFeel* vxGetLookAndFeelRoot() { return State().root; }

int vxLookAndFeelControllerCount() { return State().controllerCount; }

// --- TvxLookAndFeelController --------------------------------------------------------------

TvxLookAndFeelController::TvxLookAndFeelController(TComponent* owner) : TComponent(owner) {
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->AddChangeListener(this);
}

TvxLookAndFeelController::~TvxLookAndFeelController() {
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->RemoveChangeListener(this);
}

TvxLookAndFeelKind TvxLookAndFeelController::Kind() const {
  const TvxLookAndFeel* root = vxGetLookAndFeelRoot();
  return root ? root->GetKind() : lfUltraFlat;
}

void TvxLookAndFeelController::SetKind(TvxLookAndFeelKind value) {
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->SetKind(value);
}

bool TvxLookAndFeelController::NativeStyle() const {
  const TvxLookAndFeel* root = vxGetLookAndFeelRoot();
  return root && root->GetNativeStyle();
}

void TvxLookAndFeelController::SetNativeStyle(bool value) {
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->SetNativeStyle(value);
}

TvdSkinName TvxLookAndFeelController::SkinName() const {
  const TvxLookAndFeel* root = vxGetLookAndFeelRoot();
  return root ? root->GetSkinName() : TvdSkinName();
}

void TvxLookAndFeelController::SetSkinName(const TvdSkinName& value) {
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->SetSkinName(value);
}

void TvxLookAndFeelController::ResetToDefaults() {
  SetKind(lfUltraFlat);
  SetNativeStyle(false);
  SetSkinName("");
}

TClass TvxLookAndFeelControllerClass() {
  using C = TvxLookAndFeelController;
  static const TClassInfo info(
      "TvxLookAndFeelController", TComponentClass(),
      [] {
        std::vector<TPropInfo> props = {
            OrdinalProp<C>(
                "Kind", TPropKind::Enum, [](const C& c) { return int64_t(c.Kind()); },
                [](C& c, int64_t v) { c.SetKind(TvxLookAndFeelKind(v)); }, int64_t(lfUltraFlat),
                {"lfFlat", "lfStandard", "lfUltraFlat", "lfOffice11"}),
            BooleanProp<C>(
                "NativeStyle", [](const C& c) { return c.NativeStyle(); },
                [](C& c, bool v) { c.SetNativeStyle(v); }, false),
            StringProp<C>(
                "SkinName", [](const C& c) { return c.SkinName(); },
                [](C& c, const String& v) { c.SetSkinName(v); })};
        props[2].Stored = [](const TPersistent& o) { return static_cast<const C&>(o).IsSkinNameStored(); };
        return props;
      }(),
      [](TComponent* owner) { return new TvxLookAndFeelController(owner); });
  return &info;
}

// --- Module ---------------------------------------------------------------------------------

void vxLookAndFeelsInitialize() {
  TvxLookAndFeelsState& s = State();
  if (s.root) return;
  RegisterPersistentClasses({TvxLookAndFeelClass(), TvxLookAndFeelControllerClass()});
  s.rootOwner = std::make_unique<TvxLookAndFeel>(nullptr);
  s.root = s.rootOwner.get();
  s.root->isRoot_ = true;
}

void vxLookAndFeelsFinalize() {
  TvxLookAndFeelsState& s = State();
  s.rootOwner.reset();
  s.controllerCount = 0;
}
