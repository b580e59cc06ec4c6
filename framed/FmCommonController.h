// The frame controller: one set of frame and colour settings pushed to every
// framed control attached to it, so that a form's controls share one look;
// and the settings-store component that names where settings would live.
#pragma once

#include <cstdint>
#include <vector>

#include "framed/FmCommon.h"
#include "platform/FormStreams.h"

enum TFmFrameControllerProperty {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
  fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
  fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
// Bit n stands for property n (fcpAll excluded).
using TFmFrameControllerNotifications = uint16_t;
constexpr TFmFrameControllerNotifications fcnAll = 0xFFFF;
constexpr bool HasNotification(TFmFrameControllerNotifications n, TFmFrameControllerProperty p) {
  return (n >> p) & 1;
}

// What a control that knows the controller implements: it pulls the
// settings its notifications select.
class IFmFrameControllerClient {
 public:
  virtual void UpdateFrameFromController() = 0;
  virtual TFmFrameControllerNotifications FrameControllerNotifications() const = 0;

 protected:
  ~IFmFrameControllerClient() = default;
};

// Reads the value of a property that forms of earlier versions hold and
// this version no longer has, and drops it.
class TFmOldPropReader {
 public:
  static void ReadBoolean(TReader& reader) { reader.ReadBoolean(); }
  static void ReadIdent(TReader& reader) { reader.ReadIdent(); }
  static void ReadSet(TReader& reader) { reader.ReadSet(); }
};

class TFmRegIniFile;

class TFmFrameController : public TComponent {
 public:
  explicit TFmFrameController(TComponent* owner);
  ~TFmFrameController() override;
  const char* ClassName() const override { return "TFmFrameController"; }
  void Assign(const TPersistent* source) override;

  // A control not yet attached is appended and updated at once, even
  // inside LockUpdates.
  void Attach(TControl* control);
  void Detach(TControl* control);
  int AttachedCount() const { return int(controls_.size()); }
  void LockUpdates() { ++updateCount_; }
  void UnlockUpdates();

  virtual void ApplyToControl(TControl* control, TFmFrameControllerProperty property);
  virtual void ApplyToAll(TFmFrameControllerProperty property);

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor v) { Set(flatButtonColor_, v, fcpFlatButtonColor); }
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool v) { Set(flatButtons_, v, fcpFlatButtons); }
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor v) { Set(disabledColor_, v, fcpDisabledColor); }
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  void SetReadOnlyColor(TColor v) { Set(readOnlyColor_, v, fcpReadOnlyColor); }
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool v) { Set(readOnlyColorOnFocus_, v, fcpReadOnlyColorOnFocus); }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v) { Set(focusColor_, v, fcpFocusColor); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { Set(frameColor_, v, fcpFrameColor); }
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor v) { Set(frameHotColor_, v, fcpFrameHotColor); }
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool v);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyle v) { Set(frameHotStyle_, v, fcpFrameHotStyle); }
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides v) { Set(frameSides_, v, fcpFrameSides); }
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v) { Set(frameStyle_, v, fcpFrameStyle); }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v) { Set(frameVisible_, v, fcpFrameVisible); }
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference v) { Set(framingPreference_, v, fcpFramingPreference); }
  TFmRegIniFile* RegIniFile() const { return regIniFile_; }
  void SetRegIniFile(TFmRegIniFile* v);

  // Old streamed properties that forms of earlier versions still hold.
  void ReadOldFrameFlat(bool value);
  void ReadOldFrameFocusStyle(TFrameStyle value) { SetFrameHotStyle(value); }
  void DefineProperties(TFiler& filer);

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The setting of property, set by name on a control that publishes it.
  void ApplyByName(TControl& control, TClass controlClass, TFmFrameControllerProperty property) const;

  template <typename T>
  void Set(T& field, const T& value, TFmFrameControllerProperty property) {
    if (field == value) return;
    field = value;
    ApplyToAll(property);
  }

  TColor color_ = clWindow;
  bool parentColor_ = false;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor focusColor_ = clWindow;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  bool frameHotTrack_ = false;
  TSides frameSides_ = sdAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TFmRegIniFile* regIniFile_ = nullptr;
  int updateCount_ = 0;
  std::vector<TControl*> controls_;
};

// Keeps a control's FrameController reference: attaches on set, detaches
// the old one and on the control's end, forgets a controller that dies.
class TFmFrameControllerLink {
 public:
  explicit TFmFrameControllerLink(TControl* control) : control_(control) {}
  ~TFmFrameControllerLink();
  TFmFrameController* Get() const { return controller_; }
  void Set(TFmFrameController* controller);
  // From the control's Notification.
  void Forget(TComponent* component) {
    if (component == controller_) controller_ = nullptr;
  }

 private:
  TControl* control_;
  TFmFrameController* controller_ = nullptr;
};

// The frame fields of a framed label or panel that its controller sets.
struct TFmControllerFrame {
  TFrameStyleEx& BorderOuter;
  TSides& BorderSides;
  TColor& FlatColor;
  int& FlatColorAdjustment;
  TColor& BorderHighlight;
  TColor& BorderShadow;
};
// With the controller's frame visible: its frame style, sides, frame colour,
// colour (the bevel colours derived from it) and parent colour, as the
// notifications select; then the control repaints.
void TakeControllerFrame(TControl& control, const TFmFrameController& c, TFmFrameControllerNotifications n,
                         const TFmControllerFrame& frame);

enum TFmPathType { ptIniFile, ptRegistry };
enum TFmRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig, hkeyDynData
};
enum TFmRegAccessKey {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
  keyExecute, keyAllAccess
};
using TFmRegAccess = uint16_t;  // bit n: TFmRegAccessKey n
enum TFmSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };
enum TFmIniFileEncoding { feDefault, feUTF8, feUnicode };

// Where settings would be stored: an ini file or a registry key. This
// program stores none, so the storage objects are never made.
class TFmRegIniFile : public TComponent {
 public:
  explicit TFmRegIniFile(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TFmRegIniFile"; }

  const String& Path() const { return path_; }
  void SetPath(const String& v) { Set(path_, v); }
  TFmPathType PathType() const { return pathType_; }
  void SetPathType(TFmPathType v) { Set(pathType_, v); }
  TFmRegKey RegKey() const { return regKey_; }
  void SetRegKey(TFmRegKey v) { Set(regKey_, v); }
  TFmRegAccess RegAccess() const { return regAccess_; }
  void SetRegAccess(TFmRegAccess v) { Set(regAccess_, v); }
  TFmSpecialFolder SpecialFolder() const { return specialFolder_; }
  void SetSpecialFolder(TFmSpecialFolder v) { Set(specialFolder_, v); }
  TFmIniFileEncoding FileEncoding() const { return fileEncoding_; }
  void SetFileEncoding(TFmIniFileEncoding v) { Set(fileEncoding_, v); }
  // The storage must be made again before its next use.
  bool NeedsRecreate() const { return recreate_; }

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    recreate_ = true;
  }

  String path_;
  TFmPathType pathType_ = ptIniFile;
  TFmRegKey regKey_ = hkeyCurrentUser;
  TFmRegAccess regAccess_ = 1 << keyAllAccess;
  TFmSpecialFolder specialFolder_ = sfNone;
  TFmIniFileEncoding fileEncoding_ = feDefault;
  bool recreate_ = true;
};

// Stream descriptors: the controller with its published settings (and the
// old properties it still reads), the settings store.
TClass TFmFrameControllerClass();
TClass TFmRegIniFileClass();
void FmRegisterControllerClasses();
