// Look-and-feel settings: every skinned control holds a TvxLookAndFeel with
// three values (Kind, NativeStyle, SkinName). A value the control does not
// set itself comes from its master, or without one from the process-wide
// root, which a TvxLookAndFeelController on a form edits. The values resolve
// to the painter the control draws with. Changes travel down the master
// chain as notifications carrying the mask of the values that changed.
//
// A hidden window hears system colour changes and passes them to palette
// notifiers: primary ones (the shared painter resources) before ordinary
// ones (the look-and-feel objects), each list from its last entry.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "foundation/vdThemeManager.h"
#include "foundation/vxClasses.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"

// The set of values, one bit each.
enum TvxLookAndFeelValue : uint8_t { lfvKind = 1, lfvNativeStyle = 2, lfvSkinName = 4 };
using TvxLookAndFeelValues = uint8_t;
constexpr TvxLookAndFeelValues lfvAll = lfvKind | lfvNativeStyle | lfvSkinName;

using TvdSkinName = String;

struct TvxLookAndFeelData {
  TvxLookAndFeelKind Kind = lfUltraFlat;
  bool NativeStyle = false;
  TvdSkinName SkinName;
  TvxLookAndFeelPainterClass Painter = nullptr;
  // vxUseSkins when the record was computed.
  bool UseSkins = false;
};

// Skin painters are used only while this is on (the skin controller switches
// it, then refreshes the root).
extern bool vxUseSkins;

// The painter of each kind, indexed by the kind.
TvxLookAndFeelPainterClass vxLookAndFeelPainterOfKind(TvxLookAndFeelKind kind);

class TvxLookAndFeel;

class IvxLookAndFeelObserver : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{205538BF-F19E-4285-B11F-B182D9635881}");
  virtual TObject* GetObserverObject() = 0;
  virtual void HandleLookAndFeelChange(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) = 0;
  virtual void HandleLookAndFeelDestroy(TvxLookAndFeel* sender) = 0;
};

// --- Palette notifications ---------------------------------------------------------

class TvxSystemPaletteChangedNotifier : public TObject {
 public:
  explicit TvxSystemPaletteChangedNotifier(bool isPrimary);
  ~TvxSystemPaletteChangedNotifier() override;
  TvxSystemPaletteChangedNotifier(const TvxSystemPaletteChangedNotifier&) = delete;
  TvxSystemPaletteChangedNotifier& operator=(const TvxSystemPaletteChangedNotifier&) = delete;
  const char* ClassName() const override { return "TvxSystemPaletteChangedNotifier"; }

  virtual void FireSystemPaletteChanged();
  bool IsPrimary() const { return isPrimary_; }
  std::function<void()> OnSystemPaletteChanged;

 private:
  bool isPrimary_;
};

// Counted access to the shared listener; its hidden window exists while the
// count is above 0 (nullptr otherwise).
void vxAddRefPaletteListener();
void vxReleasePaletteListener();
HWND vxPaletteListenerWindow();

// --- TvxLookAndFeel ---------------------------------------------------------------------

class TvxLookAndFeel : public TvxInterfacedPersistent,
                       public IvxLookAndFeelObserver,
                       public IvxExtendedStylePaintersObserver {
 public:
  using TChangedEvent = std::function<void(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues)>;

  explicit TvxLookAndFeel(TPersistent* owner);
  ~TvxLookAndFeel() override;
  TvxLookAndFeel(const TvxLookAndFeel&) = delete;
  TvxLookAndFeel& operator=(const TvxLookAndFeel&) = delete;
  const char* ClassName() const override { return "TvxLookAndFeel"; }

  void Assign(const TPersistent* source) override;

  // Objects that support IvxLookAndFeelObserver; others are ignored. A
  // controller is accepted by the root only.
  void AddChangeListener(TObject* object);
  void RemoveChangeListener(TObject* object);
  // Makes this object follow master (nullptr: the root). Refused for the
  // root, for itself, and for a master whose own chain leads back here.
  void ChangeMaster(TvxLookAndFeel* master);
  TvxLookAndFeel* EffectiveMaster() const;
  TvxLookAndFeel* Master() const { return master_; }

  TvxLookAndFeelValues AssignedValues() const { return assignedValues_; }
  void SetAssignedValues(TvxLookAndFeelValues value);
  void ClearAssignedValues() { SetAssignedValues(0); }
  TvxLookAndFeelKind GetKind() const { return current_.Kind; }
  void SetKind(TvxLookAndFeelKind value);
  bool GetNativeStyle() const { return current_.NativeStyle; }
  void SetNativeStyle(bool value);
  const TvdSkinName& GetSkinName() const { return current_.SkinName; }
  void SetSkinName(const TvdSkinName& value);
  bool IsKindStored() const { return assignedValues_ & lfvKind; }
  bool IsNativeStyleStored() const { return assignedValues_ & lfvNativeStyle; }
  bool IsSkinNameStored() const { return assignedValues_ & lfvSkinName; }

  // The painter to draw with.
  TvxLookAndFeelPainterClass ActivePainter() const { return current_.Painter; }
  TvxLookAndFeelPainterClass SkinPainter() const { return skinPainter_; }
  // The painter for one native part (or a set): the native painter when
  // NativeStyle is on and those theme classes are usable.
  TvxLookAndFeelPainterClass PainterForThemeClass(TvdThemeClass themeClass) const;
  TvxLookAndFeelPainterClass PainterForThemeClasses(TvdThemeClasses themeClasses) const;

  void RefreshAll() { PropagateChange(lfvAll); }
  // Recomputes the state and the painter, then tells the listeners and
  // OnChanged (also with an empty mask, after a change of vxUseSkins).
  void PropagateChange(TvxLookAndFeelValues changedValues);
  void SnapshotState();
  void NotifyDifferences();
  virtual void UpdateCurrentState();
  bool IsRoot() const { return isRoot_; }

  // True when the name is registered; painter is nullptr unless it is and
  // skins are in use.
  virtual bool FindSkinPainter(const TvdSkinName& skinName, TvxLookAndFeelPainterClass& painter) const;

  TChangedEvent OnChanged;

  // IvxLookAndFeelObserver: follows the master.
  TObject* GetObserverObject() override { return this; }
  void HandleLookAndFeelChange(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) override;
  void HandleLookAndFeelDestroy(TvxLookAndFeel* sender) override;
  // IvxExtendedStylePaintersObserver: skin painters came or went.
  void HandlePainterRegistration(TvxLookAndFeelPainterClass painter) override;

 protected:
  virtual TvxLookAndFeelKind EffectiveKind() const;
  virtual bool EffectiveNativeStyle() const;
  virtual TvdSkinName EffectiveSkinName() const;
  virtual TvxLookAndFeelPainterClass EffectiveSkinPainter() const;
  virtual void HandleSystemPaletteChange();

 private:
  friend void vxLookAndFeelsInitialize();
  // The master or the root this object inherits from; nullptr for the root.
  TvxLookAndFeel* InheritedSource() const;
  bool ChainReaches(const TvxLookAndFeel* master) const;

  TvxLookAndFeelValues assignedValues_ = 0;
  TvxObjectList listeners_;
  TvxLookAndFeelData current_;
  TvxLookAndFeelData local_;
  bool destroying_ = false;
  bool isRoot_ = false;
  TvxLookAndFeel* master_ = nullptr;
  TvxLookAndFeelPainterClass skinPainter_ = nullptr;
  TvxLookAndFeelData saved_;
  std::unique_ptr<TvxSystemPaletteChangedNotifier> paletteNotifier_;
};

TClass TvxLookAndFeelClass();

// The root, or nullptr outside the module's lifetime.
TvxLookAndFeel* vxGetLookAndFeelRoot();
// How many controllers the root holds.
int vxLookAndFeelControllerCount();

// --- TvxLookAndFeelController -----------------------------------------------------------

// Edits the root: Kind, NativeStyle and SkinName read and write the root's.
// When the last controller goes, the root's assigned values are cleared.
class TvxLookAndFeelController : public TComponent, public IvxLookAndFeelObserver {
 public:
  explicit TvxLookAndFeelController(TComponent* owner);
  ~TvxLookAndFeelController() override;
  const char* ClassName() const override { return "TvxLookAndFeelController"; }

  TvxLookAndFeelKind Kind() const;
  void SetKind(TvxLookAndFeelKind value);
  bool NativeStyle() const;
  void SetNativeStyle(bool value);
  TvdSkinName SkinName() const;
  void SetSkinName(const TvdSkinName& value);
  bool IsSkinNameStored() const { return !SkinName().empty(); }
  virtual void ResetToDefaults();

  TObject* GetObserverObject() override { return this; }
  void HandleLookAndFeelChange(TvxLookAndFeel*, TvxLookAndFeelValues) override {}
  void HandleLookAndFeelDestroy(TvxLookAndFeel*) override {}
};

TClass TvxLookAndFeelControllerClass();

// The module: the root is made at the start (after the theme manager) and
// freed at the end.
void vxLookAndFeelsInitialize();
void vxLookAndFeelsFinalize();
