// The painter class of one registered skin and the start and stop
// procedures every skin module runs through the shared units loader.
//
// Each shipped skin has a module of its own (vdSkinBlack ... vdSkin-
// Xmas2008Blue) that declares its painter class over TvdSkinModulePainter;
// the user skin's module (vdSkinsDefaultPainters) does the same with its own
// painter data. At start-up, and only while GDI+ is available, a module
// loads its skin from the program's "VDSKINS" resource, binds it and
// registers the painter under the skin's name; the registry owns the
// painter data from then on and frees it (and with it the skin) when the
// name is unregistered.
#pragma once

#include <memory>

#include "skins/vdSkinsLookAndFeelPainter.h"

// The painter data of a registered skin: the painters' pictures of its
// elements are forgotten when it binds again and when it goes.
class TvdSkinModulePainterInfo : public TvdSkinLookAndFeelPainterInfo {
 public:
  using TvdSkinLookAndFeelPainterInfo::TvdSkinLookAndFeelPainterInfo;
  ~TvdSkinModulePainterInfo() override { vdSkinFlushPictures(); }
  const char* ClassName() const override { return "TvdSkinModulePainterInfo"; }
  void Refresh() override;
};

class TvdSkinModulePainter : public TvdSkinLookAndFeelPainter {
 public:
  const char* ClassName() const override { return className_; }
  // Nil while the skin is not registered, and once the registry is gone.
  TvdSkinLookAndFeelPainterInfo* GetPainterData() const override;
  const char* GetModuleName() const override { return moduleName_; }
  // The name the painter is registered under.
  const char* SkinName() const { return skinName_; }

  // The start procedure: loads, binds and registers the skin. A skin whose
  // resource is missing or malformed is left unregistered and the program
  // goes on; a name already taken keeps its first painter, and the data
  // made for the refused one is freed.
  void RegisterSkin() const;
  // The stop procedure: unregisters the name while the registry exists.
  void UnregisterSkin() const;

 protected:
  TvdSkinModulePainter(const char* className, const char* moduleName, const char* skinName,
                       const char* resourceName)
      : className_(className), moduleName_(moduleName), skinName_(skinName), resourceName_(resourceName) {}
  virtual std::unique_ptr<TvdSkinLookAndFeelPainterInfo> CreatePainterData(std::unique_ptr<TvdSkin> skin) const;

 private:
  const char* className_;
  const char* moduleName_;
  const char* skinName_;
  const char* resourceName_;
  // The registered data, owned by the registry record; nil while the skin
  // is not registered.
  mutable TvdSkinLookAndFeelPainterInfo* data_ = nullptr;
};

// A skin module's initialisation and finalisation: the start and stop
// procedures go to the shared units loader, which runs start at once.
void vdSkinModuleInitialize(void (*start)(), void (*stop)());
void vdSkinModuleFinalize(void (*stop)());

// Declares the painter class of one shipped skin and its module's
// initialisation and finalisation (in the module's header).
#define QE_SKIN_PAINTER(Class, Module, Skin)                                               \
  class Class : public TvdSkinModulePainter {                                              \
   public:                                                                                 \
    static const Class& Painter();                                                         \
                                                                                           \
   private:                                                                                \
    Class() : TvdSkinModulePainter(#Class, #Module, Skin, Skin) {}                          \
  };                                                                                       \
  void Module##Initialize();                                                               \
  void Module##Finalize()

// Defines them (in the module's source): the painter's one instance, and
// start and stop procedures that register and unregister its skin.
#define QE_SKIN_MODULE(Class, Module)                                                      \
  const Class& Class::Painter() {                                                          \
    static const Class painter;                                                            \
    return painter;                                                                        \
  }                                                                                        \
  namespace {                                                                              \
  void Module##Start() { Class::Painter().RegisterSkin(); }                                \
  void Module##Stop() { Class::Painter().UnregisterSkin(); }                               \
  }                                                                                        \
  void Module##Initialize() { vdSkinModuleInitialize(Module##Start, Module##Stop); }       \
  void Module##Finalize() { vdSkinModuleFinalize(Module##Stop); }
