#include "framed/FmCommonController.h"

#include <algorithm>
#include <iterator>

TFmFrameController::TFmFrameController(TComponent* owner) : TComponent(owner) {}

TFmFrameController::~TFmFrameController() {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
}

void TFmFrameController::Attach(TControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  controls_.push_back(control);
  ApplyToControl(control, fcpAll);
}

void TFmFrameController::Detach(TControl* control) { std::erase(controls_, control); }

void TFmFrameController::UnlockUpdates() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) ApplyToAll(fcpAll);
}

void TFmFrameController::ApplyToAll(TFmFrameControllerProperty property) {
  if (updateCount_ > 0) return;
  // A control may detach while it is updated: walk a copy.
  const std::vector<TControl*> controls = controls_;
  for (TControl* c : controls) ApplyToControl(c, property);
}

namespace {

// The published name of each setting, in the order of the enumeration.
const char* const kSettingNames[] = {
    "Color",         "FocusColor",    "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus", "ParentColor",
    "FlatButtonColor", "FlatButtons", "FrameColor",    "FrameHotColor", "FrameHotTrack",        "FrameHotStyle",
    "FrameSides",    "FrameStyle",    "FrameVisible",  "FramingPreference"};
static_assert(std::size(kSettingNames) == fcpAll);

// The order of a whole update: ParentColor before Color, so that a control
// told to follow its parent is not first given a colour of its own.
const TFmFrameControllerProperty kWholeUpdateOrder[] = {
    fcpParentColor, fcpColor,         fcpDisabledColor, fcpReadOnlyColor,  fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack,        fcpFrameHotStyle,
    fcpFrameSides,  fcpFrameStyle,    fcpFrameVisible,  fcpFramingPreference};

const std::vector<String> kFrameStyleNames = {"fsNone",       "fsFlat",   "fsGroove", "fsBump",
                                              "fsLowered",    "fsButtonDown", "fsRaised", "fsButtonUp",
                                              "fsStatus",     "fsPopup",  "fsFlatBold"};
const std::vector<String> kSideNames = {"sdLeft", "sdTop", "sdRight", "sdBottom"};

int IndexOfName(const std::vector<String>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return int(i);
  return -1;
}

}  // namespace

// A control that knows the controller pulls the settings itself; any other
// control takes those it publishes, by name, as its notifications select.
void TFmFrameController::ApplyToControl(TControl* control, TFmFrameControllerProperty property) {
  if (auto* client = dynamic_cast<IFmFrameControllerClient*>(control)) {
    client->UpdateFrameFromController();
    return;
  }
  const TClass cls = control ? ClassOf(*control) : nullptr;
  if (!cls) return;
  TFmFrameControllerNotifications n = fcnAll;
  if (const TPropInfo* p = cls->FindProperty("FrameControllerNotifications");
      p && std::holds_alternative<int64_t>(p->Get(*control)))
    n = TFmFrameControllerNotifications(std::get<int64_t>(p->Get(*control)));
  if (property != fcpAll) {
    if (HasNotification(n, property)) ApplyByName(*control, cls, property);
    return;
  }
  for (TFmFrameControllerProperty p : kWholeUpdateOrder)
    if (HasNotification(n, p) && !(p == fcpColor && parentColor_)) ApplyByName(*control, cls, p);
}

// Enumerations and sets go by their identifiers: the control's type may
// order its values otherwise.
void TFmFrameController::ApplyByName(TControl& control, TClass controlClass,
                                     TFmFrameControllerProperty property) const {
  const TPropInfo* source = TFmFrameControllerClass()->FindProperty(kSettingNames[property]);
  const TPropInfo* target = controlClass->FindProperty(kSettingNames[property]);
  if (!target || !target->Set || target->Kind != source->Kind) return;
  TPropValue value = source->Get(*this);
  if (source->Kind == TPropKind::Enum) {
    const int index = IndexOfName(target->Names, source->Names[size_t(std::get<int64_t>(value))]);
    if (index < 0) return;
    value = int64_t(index);
  } else if (source->Kind == TPropKind::Set) {
    int64_t bits = 0;
    for (size_t i = 0; i < source->Names.size(); ++i) {
      const int index = IndexOfName(target->Names, source->Names[i]);
      if ((std::get<int64_t>(value) >> i & 1) && index >= 0) bits |= int64_t(1) << index;
    }
    value = bits;
  }
  target->Set(control, value);
}

void TFmFrameController::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TFmFrameController*>(source);
  if (!other) return TComponent::Assign(source);
  LockUpdates();
  color_ = other->color_;
  parentColor_ = other->parentColor_;
  disabledColor_ = other->disabledColor_;
  readOnlyColor_ = other->readOnlyColor_;
  readOnlyColorOnFocus_ = other->readOnlyColorOnFocus_;
  focusColor_ = other->focusColor_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotTrack_ = other->frameHotTrack_;
  frameHotStyle_ = other->frameHotStyle_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  UnlockUpdates();
}

void TFmFrameController::SetColor(TColor v) {
  if (color_ == v) return;
  if (focusColor_ == color_) focusColor_ = v;
  color_ = v;
  parentColor_ = false;
  ApplyToAll(fcpColor);
}

void TFmFrameController::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  ApplyToAll(fcpParentColor);
  if (!v) ApplyToAll(fcpColor);
}

void TFmFrameController::SetFrameHotTrack(bool v) {
  if (frameHotTrack_ == v) return;
  frameHotTrack_ = v;
  if (v) {
    SetFrameVisible(true);
    if (!IsLoading()) SetFrameSides(sdAllSides);
  }
  ApplyToAll(fcpFrameHotTrack);
}

void TFmFrameController::ReadOldFrameFlat(bool value) {
  SetFrameHotTrack(value);
  if (value) {
    SetFrameStyle(fsStatus);
    SetFrameHotStyle(fsLowered);
  }
}

void TFmFrameController::DefineProperties(TFiler& filer) {
  filer.DefineProperty("FrameFlat", [this](TReader& r) { ReadOldFrameFlat(r.ReadBoolean()); }, {}, false);
  filer.DefineProperty(
      "FrameFocusStyle",
      [this](TReader& r) {
        const int style = IndexOfName(kFrameStyleNames, r.ReadIdent());
        if (style < 0) throw EReadError("Invalid property value");
        ReadOldFrameFocusStyle(TFrameStyle(style));
      },
      {}, false);
  filer.DefineProperty("FrameFlatStyle", TFmOldPropReader::ReadIdent, {}, false);
}

void TFmFrameController::SetRegIniFile(TFmRegIniFile* v) {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = v;
  if (v) v->FreeNotification(this);
}

void TFmFrameController::Loaded() {
  TComponent::Loaded();
  ApplyToAll(fcpAll);
}

void TFmFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == regIniFile_) regIniFile_ = nullptr;
}

TFmFrameControllerLink::~TFmFrameControllerLink() {
  if (controller_) controller_->Detach(control_);
}

void TFmFrameControllerLink::Set(TFmFrameController* controller) {
  if (controller_ == controller) return;
  if (controller_) {
    controller_->Detach(control_);
    controller_->RemoveFreeNotification(control_);
  }
  controller_ = controller;
  if (controller) {
    controller->FreeNotification(control_);
    controller->Attach(control_);
  }
}

void TakeControllerFrame(TControl& control, const TFmFrameController& c, TFmFrameControllerNotifications n,
                         const TFmControllerFrame& frame) {
  if (!c.FrameVisible()) return;
  if (HasNotification(n, fcpFrameStyle)) frame.BorderOuter = c.FrameStyle();
  if (HasNotification(n, fcpFrameSides)) frame.BorderSides = c.FrameSides();
  if (HasNotification(n, fcpFrameColor)) {
    frame.FlatColor = c.FrameColor();
    frame.FlatColorAdjustment = 0;
  }
  if (HasNotification(n, fcpColor)) {
    control.SetColor(c.Color());
    frame.BorderHighlight = LightenColor(control.Color(), 100);
    frame.BorderShadow = DarkenColor(control.Color(), 50);
  }
  if (HasNotification(n, fcpParentColor)) control.SetParentColor(c.ParentColor());
  control.Invalidate();
}

// --- Stream descriptors ------------------------------------------------------------------------------

namespace {

using C = TFmFrameController;

TPropInfo ColorSetting(String name, TColor (C::*get)() const, void (C::*set)(TColor), TColor def) {
  return IntegerProp<C>(
      std::move(name), [get](const C& c) { return int64_t((c.*get)()); },
      [set](C& c, int64_t v) { (c.*set)(TColor(v)); }, def);
}

TPropInfo BooleanSetting(String name, bool (C::*get)() const, void (C::*set)(bool), bool def) {
  return BooleanProp<C>(
      std::move(name), [get](const C& c) { return (c.*get)(); }, [set](C& c, bool v) { (c.*set)(v); }, def);
}

TPropInfo FrameStyleSetting(String name, TFrameStyle (C::*get)() const, void (C::*set)(TFrameStyle),
                            TFrameStyle def) {
  return OrdinalProp<C>(
      std::move(name), TPropKind::Enum, [get](const C& c) { return int64_t((c.*get)()); },
      [set](C& c, int64_t v) { (c.*set)(TFrameStyle(v)); }, def, kFrameStyleNames);
}

std::vector<TPropInfo> ControllerProperties() {
  TPropInfo color = ColorSetting("Color", &C::Color, &C::SetColor, clWindow);
  color.Stored = [](const TPersistent& c) { return !static_cast<const C&>(c).ParentColor(); };
  return {
      color,
      BooleanSetting("ParentColor", &C::ParentColor, &C::SetParentColor, false),
      ColorSetting("DisabledColor", &C::DisabledColor, &C::SetDisabledColor, clBtnFace),
      ColorSetting("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor, clInfoBk),
      BooleanSetting("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus, false),
      ColorSetting("FocusColor", &C::FocusColor, &C::SetFocusColor, clWindow),
      ColorSetting("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor, clBtnFace),
      BooleanSetting("FlatButtons", &C::FlatButtons, &C::SetFlatButtons, true),
      ColorSetting("FrameColor", &C::FrameColor, &C::SetFrameColor, clBtnShadow),
      ColorSetting("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor, clBtnShadow),
      FrameStyleSetting("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle, fsFlatBold),
      BooleanSetting("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack, false),
      OrdinalProp<C>(
          "FrameSides", TPropKind::Set, [](const C& c) { return int64_t(c.FrameSides()); },
          [](C& c, int64_t v) { c.SetFrameSides(TSides(v)); }, sdAllSides, kSideNames),
      FrameStyleSetting("FrameStyle", &C::FrameStyle, &C::SetFrameStyle, fsFlat),
      BooleanSetting("FrameVisible", &C::FrameVisible, &C::SetFrameVisible, false),
      OrdinalProp<C>(
          "FramingPreference", TPropKind::Enum, [](const C& c) { return int64_t(c.FramingPreference()); },
          [](C& c, int64_t v) { c.SetFramingPreference(TFramingPreference(v)); }, fpXPThemes,
          {"fpCustomFraming", "fpXPThemes"}),
      ComponentProp<C>(
          "RegIniFile", [](const C& c) { return static_cast<TComponent*>(c.RegIniFile()); },
          [](C& c, TComponent* v) { c.SetRegIniFile(dynamic_cast<TFmRegIniFile*>(v)); }),
  };
}

template <typename E>
TPropInfo RegIniEnum(String name, E (TFmRegIniFile::*get)() const, void (TFmRegIniFile::*set)(E), E def,
                     std::vector<String> names) {
  return OrdinalProp<TFmRegIniFile>(
      std::move(name), TPropKind::Enum, [get](const TFmRegIniFile& f) { return int64_t((f.*get)()); },
      [set](TFmRegIniFile& f, int64_t v) { (f.*set)(E(v)); }, def, std::move(names));
}

}  // namespace

TClass TFmFrameControllerClass() {
  static const TClassInfo info(
      "TFmFrameController", TComponentClass(), ControllerProperties(),
      [](TComponent* owner) { return new TFmFrameController(owner); },
      [](TPersistent& instance, TFiler& filer) { static_cast<C&>(instance).DefineProperties(filer); });
  return &info;
}

TClass TFmRegIniFileClass() {
  using F = TFmRegIniFile;
  static const TClassInfo info(
      "TFmRegIniFile", TComponentClass(),
      {StringProp<F>(
           "Path", [](const F& f) { return f.Path(); }, [](F& f, const String& v) { f.SetPath(v); }),
       RegIniEnum("PathType", &F::PathType, &F::SetPathType, ptIniFile, {"ptIniFile", "ptRegistry"}),
       RegIniEnum("RegKey", &F::RegKey, &F::SetRegKey, hkeyCurrentUser,
                  {"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers", "hkeyPerformanceData",
                   "hkeyCurrentConfig", "hkeyDynData"}),
       OrdinalProp<F>(
           "RegAccess", TPropKind::Set, [](const F& f) { return int64_t(f.RegAccess()); },
           [](F& f, int64_t v) { f.SetRegAccess(TFmRegAccess(v)); }, 1 << keyAllAccess,
           {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys", "keyNotify", "keyCreateLink",
            "keyRead", "keyWrite", "keyExecute", "keyAllAccess"}),
       RegIniEnum("SpecialFolder", &F::SpecialFolder, &F::SetSpecialFolder, sfNone,
                  {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal", "sfUserDocuments", "sfProgramData"}),
       RegIniEnum("FileEncoding", &F::FileEncoding, &F::SetFileEncoding, feDefault,
                  {"feDefault", "feUTF8", "feUnicode"})},
      [](TComponent* owner) { return new TFmRegIniFile(owner); });
  return &info;
}

void FmRegisterControllerClasses() { RegisterPersistentClasses({TFmFrameControllerClass(), TFmRegIniFileClass()}); }
