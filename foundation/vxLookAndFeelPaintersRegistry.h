// The registry of extended-style painters: painter classes known by a name
// (every skin registers its painter under the skin's name) rather than by a
// look-and-feel kind. Look-and-feel objects that draw with a registered
// painter observe the registry and re-resolve when painters come or go.
#pragma once

#include <memory>

#include "foundation/vxClasses.h"
#include "platform/Interfaces.h"
#include "platform/Text.h"

class TvxCustomLookAndFeelPainter;
using TvxLookAndFeelPainterClass = const TvxCustomLookAndFeelPainter*;

class IvxExtendedStylePaintersObserver : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{7665B7CA-2C4B-48B9-ABA2-FA530E7EA468}");
  // The painter has just been registered, or is being unregistered.
  virtual void HandlePainterRegistration(TvxLookAndFeelPainterClass painter) = 0;
};

// One registered painter; it owns Data (for a skin, the loaded skin).
class TvxExtendedStylePainterInfo : public TObject {
 public:
  TvxExtendedStylePainterInfo(const String& name, TvxLookAndFeelPainterClass painter, std::unique_ptr<TObject> data)
      : Name(name), Painter(painter), Data(std::move(data)) {}
  const char* ClassName() const override { return "TvxExtendedStylePainterInfo"; }

  String Name;
  TvxLookAndFeelPainterClass Painter;
  std::unique_ptr<TObject> Data;
};

// Kept sorted by name (AnsiCompareStr); names are unique without regard to
// letter case. UI thread only.
class TvxExtendedStylePainters : public TvxObjectList {
 public:
  TvxExtendedStylePainters() : TvxObjectList(true) {}
  const char* ClassName() const override { return "TvxExtendedStylePainters"; }

  // False when the name is taken (letter case aside): nothing is added and
  // the data given is freed here, so a refusal never leaks and the caller
  // never frees twice.
  bool RegisterPainter(const String& name, TvxLookAndFeelPainterClass painter, std::unique_ptr<TObject> data);
  // Tells the observers while the record and its data still live, then
  // frees both. False when the name is not registered.
  bool UnregisterPainter(const String& name);
  // Found without regard to case; painter is left alone when not found.
  bool FindPainterByName(const String& name, TvxLookAndFeelPainterClass& painter) const;
  // The first record in list order with this painter.
  bool FindNameOfPainter(TvxLookAndFeelPainterClass painter, String& name) const;
  bool FindDataOfPainter(TvxLookAndFeelPainterClass painter, TObject*& data) const;
  // The index of the name (letter case aside) or -1; info is set on a match.
  int LocateByName(const String& name, TvxExtendedStylePainterInfo*& info) const;
  void SortByName();

  void AddObserver(IvxExtendedStylePaintersObserver* observer) { observers_.Add(observer); }
  void RemoveObserver(IvxExtendedStylePaintersObserver* observer) { observers_.Remove(observer); }
  bool HasObserver(IvxExtendedStylePaintersObserver* observer) const { return observers_.IndexOf(observer) >= 0; }
  // Last to first, over the observers listed when the call began; one that
  // was removed meanwhile (by itself or another) is not called.
  void NotifyObservers(TvxLookAndFeelPainterClass painter);

  TvxExtendedStylePainterInfo* InfoAt(int index) const {
    return static_cast<TvxExtendedStylePainterInfo*>(GetItem(index));
  }
  const String& NameAt(int index) const { return InfoAt(index)->Name; }
  TvxLookAndFeelPainterClass PainterAt(int index) const { return InfoAt(index)->Painter; }

 private:
  TInterfaceList<IvxExtendedStylePaintersObserver> observers_;
};

// The one registry, or nullptr outside the painters module's lifetime.
TvxExtendedStylePainters* vxGetStylePainterRegistry();
void vxCreateStylePainterRegistry();
void vxFreeStylePainterRegistry();

// The painters module as a whole: the registry first, then the shared
// resources; stopped in the reverse order, so that skins still registered
// are freed last.
void vxLookAndFeelPaintersStart();
void vxLookAndFeelPaintersStop();
