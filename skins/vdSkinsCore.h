// The skin object model: a skin holds named colours, named properties and
// named control groups; each group holds named elements, and each element a
// picture cut into states (Image), a second picture drawn in its content
// area (Glyph), four borders and its own properties.
//
// Every object reports a change upwards: an item's OnChange is its list's
// ItemChanged, a list's change handler is its owner's SubItemChanged, and the
// skin, at the top, tells its listeners and then its own OnChange. Update
// locks on every level hold the notification back until EndUpdate.
//
// The lists look names up by binary search and sort themselves lazily: any
// change of an item clears Sorted, the next lookup sorts by Name again.
//
// The stream format of a skin (the reader and the writer) is in
// vdSkinsStream.cpp.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/vxLookAndFeelPaintersStates.h"
#include "platform/Components.h"
#include "platform/Errors.h"
#include "platform/Geometry.h"
#include "platform/Streams.h"
#include "skins/vdSkinPicture.h"

using TColor = int32_t;
inline constexpr TColor vdSkinColorNone = 0x1FFFFFFF;
inline constexpr TColor vdSkinColorDefault = 0x20000000;

// The version that this library writes; newer streams read as this one.
inline constexpr double vdSkinCurrentVersion = 1.03;

QE_DECLARE_EXCEPTION(EvdSkin, Exception);

enum TvdSkinElementState : uint8_t {
  esNormal,
  esHot,
  esPressed,
  esDisabled,
  esActive,
  esFocused,
  esDroppedDown,
  esChecked,
  esHotCheck,
  esActiveDisabled,
  esCheckPressed,
};
inline constexpr int vdSkinElementStateCount = 11;
// A set of states, bit n for state n, stored in 16 bits.
using TvdSkinElementStates = uint16_t;
constexpr TvdSkinElementStates vdSkinStates(std::initializer_list<TvdSkinElementState> states) {
  TvdSkinElementStates set = 0;
  for (auto s : states) set |= TvdSkinElementStates(1u << s);
  return set;
}

enum TvdSkinImageLayout : uint8_t { ilHorizontal, ilVertical };
enum TvdSkinStretchMode : uint8_t { smStretch, smTile, smNoResize };
enum TvdSkinGradientMode : uint8_t { gmHorizontal, gmVertical, gmForwardDiagonal, gmBackwardDiagonal };

class TvdSkin;
class TvdSkinPersistent;
class TvdSkinControlGroup;
class TvdSkinElement;

#ifdef _WIN32
// Drawing takes the device context of the system's graphics interface; the
// handle type is declared here so that this header stays free of the
// system headers.
struct HDC__;
using vdSkinDC = HDC__*;
class TvdSkinCanvas;
class TvdSkinElementCache;
struct TvdSkinElementCacheFree {
  void operator()(TvdSkinElementCache* cache) const;
};
#endif

// The base of every named skin object.
class TvdSkinCustomPersistentObject : public TPersistent {
 public:
  TvdSkinCustomPersistentObject(TPersistent* owner, String name) : name_(std::move(name)), owner_(owner) {}
  const char* ClassName() const override { return "TvdSkinCustomPersistentObject"; }

  // Written without notification: a lookup by the new name may miss the item
  // until its list sorts again.
  const String& Name() const { return name_; }
  void SetName(String name) { name_ = std::move(name); }
  std::function<void(TvdSkinCustomPersistentObject*)> OnChange;
  // Bit 0: added by a binding in place of a missing object; bit 1: not yet
  // bound.
  uint8_t StateFlags = 2;

  TPersistent* Owner() const { return owner_; }
  void SetOwner(TPersistent* owner) { owner_ = owner; }

  // A new object of the same class, owner and name given: what the lists and
  // Clone create copies with.
  virtual std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                         const String& name) const = 0;
  std::unique_ptr<TvdSkinCustomPersistentObject> Clone() const;

 protected:
  TPersistent* GetOwner() const override { return owner_; }
  virtual void DoChange();

 private:
  String name_;
  TPersistent* owner_;
};

// The owning, lazily sorted list of named objects that every level uses.
class TvdSkinCustomPersistentObjectList {
 public:
  explicit TvdSkinCustomPersistentObjectList(TPersistent* owner) : owner_(owner) {}
  virtual ~TvdSkinCustomPersistentObjectList() = default;
  TvdSkinCustomPersistentObjectList(const TvdSkinCustomPersistentObjectList&) = delete;
  TvdSkinCustomPersistentObjectList& operator=(const TvdSkinCustomPersistentObjectList&) = delete;

  int Count() const { return int(items_.size()); }
  TvdSkinCustomPersistentObject* ItemAt(int index) const { return items_.at(size_t(index)).get(); }
  TvdSkinCustomPersistentObject* FindByName(const String& name);
  bool Sorted() const { return sorted_; }
  void Sort();

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  virtual void Changed();
  std::function<void()> OnChanged;

  // Takes ownership, binds the item's OnChange to this list, appends.
  TvdSkinCustomPersistentObject* Append(std::unique_ptr<TvdSkinCustomPersistentObject> item);
  // Frees the object and removes its entry; the former index or -1.
  int FreeAndRemove(TvdSkinCustomPersistentObject* item);
  void Clear();
  // Moves every item of other into this list (emptied first), owned and
  // watched by this list from then on.
  void TakeItemsFrom(TvdSkinCustomPersistentObjectList& other);

  virtual void ReadData(TStream& stream, double version) = 0;
  virtual void WriteData(TStream& stream) const = 0;

 protected:
  TPersistent* owner_;

 private:
  void Adopt(TvdSkinCustomPersistentObject& item);

  std::vector<std::unique_ptr<TvdSkinCustomPersistentObject>> items_;
  bool sorted_ = false;
  int updateCount_ = 0;
};

// --- Property values -------------------------------------------------------

class TvdSkinProperty : public TvdSkinCustomPersistentObject {
 public:
  using TvdSkinCustomPersistentObject::TvdSkinCustomPersistentObject;
  const char* ClassName() const override { return "TvdSkinProperty"; }

  virtual void ReadValue(TStream& stream) = 0;
  void ReadData(TStream& stream);  // name, then value
  virtual void WriteValue(TStream& stream) const = 0;
  void WriteData(TStream& stream) const;  // class name, name, value
  // The class name without "TvdSkin" and "Property": "Integer", "Color".
  String GetDescription() const;
  virtual bool IsEqual(const TvdSkinProperty& other) const = 0;

 protected:
  // Raises the platform's assign error unless source is of this very class.
  template <typename T>
  const T& SameClassSource(const TPersistent* source) const;
};

// The seven classes a stream may name. Each holds one value; equal means the
// same class, the same Name and the same value.
#define QE_SKIN_VALUE_PROPERTY(Class, Type, Default)                                                            \
  class Class : public TvdSkinProperty {                                                                        \
   public:                                                                                                      \
    using TvdSkinProperty::TvdSkinProperty;                                                                     \
    const char* ClassName() const override { return #Class; }                                                   \
    Type Value() const { return value_; }                                                                       \
    void SetValue(Type value);                                                                                  \
    void Assign(const TPersistent* source) override;                                                            \
    void ReadValue(TStream& stream) override;                                                                   \
    void WriteValue(TStream& stream) const override;                                                            \
    bool IsEqual(const TvdSkinProperty& other) const override;                                                  \
    std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,                          \
                                                                   const String& name) const override {         \
      return std::make_unique<Class>(owner, name);                                                              \
    }                                                                                                           \
                                                                                                                \
   protected:                                                                                                   \
    Type value_ = Default;                                                                                      \
  }

QE_SKIN_VALUE_PROPERTY(TvdSkinIntegerProperty, int32_t, 0);
QE_SKIN_VALUE_PROPERTY(TvdSkinBooleanProperty, bool, false);
QE_SKIN_VALUE_PROPERTY(TvdSkinColor, TColor, vdSkinColorDefault);
QE_SKIN_VALUE_PROPERTY(TvdSkinRectProperty, TRect, TRect());
QE_SKIN_VALUE_PROPERTY(TvdSkinSizeProperty, TSize, TSize());
QE_SKIN_VALUE_PROPERTY(TvdSkinStringProperty, String, String());
#undef QE_SKIN_VALUE_PROPERTY

// Kept as an 8-bit string; stored as UTF-16.
class TvdSkinWideStringProperty : public TvdSkinStringProperty {
 public:
  using TvdSkinStringProperty::TvdSkinStringProperty;
  const char* ClassName() const override { return "TvdSkinWideStringProperty"; }
  void ReadValue(TStream& stream) override;
  void WriteValue(TStream& stream) const override;
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinWideStringProperty>(owner, name);
  }
};

// Creates a property of one of the seven stream classes by its class name;
// nil for any other name.
std::unique_ptr<TvdSkinProperty> vdSkinCreatePropertyByClassName(const String& className, TPersistent* owner,
                                                                 const String& name);

// One side of an element's frame: a strip of Thin pixels in Color.
class TvdSkinBorder : public TvdSkinProperty {
 public:
  TvdSkinBorder(TPersistent* owner, String name, int side = 0)
      : TvdSkinProperty(owner, std::move(name)), side_(side) {}
  const char* ClassName() const override { return "TvdSkinBorder"; }

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int32_t Thin() const { return thin_; }
  void SetThin(int32_t value);
  int Side() const { return side_; }
  // The strip of Thin pixels along Side inside r.
  TRect StripRect(const TRect& r) const;
#ifdef _WIN32
  void Draw(vdSkinDC dc, const TRect& r);
  void DrawEx(TvdSkinCanvas& canvas, const TRect& r) const;
#endif

  void Assign(const TPersistent* source) override;
  void ReadValue(TStream& stream) override;  // Color, Thin
  void WriteValue(TStream& stream) const override;
  bool IsEqual(const TvdSkinProperty& other) const override;
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinBorder>(owner, name, side_);
  }

 private:
  TColor color_ = vdSkinColorNone;
  int32_t thin_ = 1;
  int side_;
};

// The four borders Left, Top, Right, Bottom, in this order.
class TvdSkinBorders : public TvdSkinProperty {
 public:
  TvdSkinBorders(TPersistent* owner, String name);
  const char* ClassName() const override { return "TvdSkinBorders"; }

  TvdSkinBorder& operator[](int side) { return *borders_.at(size_t(side)); }
  const TvdSkinBorder& operator[](int side) const { return *borders_.at(size_t(side)); }
#ifdef _WIN32
  // Left, Top, Right, Bottom: later sides paint over the corners of earlier
  // ones.
  void DrawEx(TvdSkinCanvas& canvas, const TRect& r) const;
#endif

  void Assign(const TPersistent* source) override;
  void ReadValue(TStream& stream) override;
  void WriteValue(TStream& stream) const override;
  bool IsEqual(const TvdSkinProperty& other) const override;
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinBorders>(owner, name);
  }

 private:
  void BorderChanged() { DoChange(); }
  std::array<std::unique_ptr<TvdSkinBorder>, 4> borders_;
};

class TvdSkinProperties : public TvdSkinCustomPersistentObjectList {
 public:
  using TvdSkinCustomPersistentObjectList::TvdSkinCustomPersistentObjectList;
  TvdSkinProperty* Items(int index) const { return static_cast<TvdSkinProperty*>(ItemAt(index)); }
  TvdSkinProperty* FindByName(const String& name) {
    return static_cast<TvdSkinProperty*>(TvdSkinCustomPersistentObjectList::FindByName(name));
  }
  template <typename T>
  T* Add(const String& name) {
    return static_cast<T*>(Append(std::make_unique<T>(owner_, name)));
  }
  TvdSkinColor* AddColor(const String& name, TColor value);

  void ReadData(TStream& stream, double version) override;
  void WriteData(TStream& stream) const override;
};

class TvdSkinColors : public TvdSkinProperties {
 public:
  using TvdSkinProperties::TvdSkinProperties;
  TvdSkinColor* Items(int index) const { return static_cast<TvdSkinColor*>(ItemAt(index)); }
  void ReadData(TStream& stream, double version) override;
};

// --- Named objects with properties ------------------------------------------

class TvdSkinPersistent : public TvdSkinCustomPersistentObject {
 public:
  TvdSkinPersistent(TPersistent* owner, String name);
  const char* ClassName() const override { return "TvdSkinPersistent"; }

  void BeginUpdate() { ++lockCount_; }
  void EndUpdate();
  virtual void Changed();
  bool Modified() const { return modified_; }

  virtual void Clear();
  virtual void Sort();
  virtual void DeleteProperty(TvdSkinProperty* property);
  TvdSkinProperty* GetPropertyByName(const String& name) { return properties_.FindByName(name); }
  int PropertyCount() const { return properties_.Count(); }
  TvdSkinProperty* Property(int index) const { return properties_.Items(index); }
  TvdSkinProperties& Properties() { return properties_; }
  const TvdSkinProperties& Properties() const { return properties_; }

  void Assign(const TPersistent* source) override;

 protected:
  void SubItemChanged() { Changed(); }
  int lockCount_ = 0;

 private:
  TvdSkinProperties properties_;
  bool modified_ = false;
};

// --- Images and elements ----------------------------------------------------

// A picture cut into ImageCount images laid side by side along ImageLayout,
// each holding the states of States in enumeration order, one part each.
class TvdSkinImage : public TPersistent {
 public:
  explicit TvdSkinImage(TvdSkinElement* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TvdSkinImage"; }

  TvdSkinGradientMode Gradient() const { return gradient_; }
  void SetGradient(TvdSkinGradientMode value);
  TColor GradientBeginColor() const { return gradientBeginColor_; }
  void SetGradientBeginColor(TColor value);
  TColor GradientEndColor() const { return gradientEndColor_; }
  void SetGradientEndColor(TColor value);
  TvdSkinImageLayout ImageLayout() const { return imageLayout_; }
  void SetImageLayout(TvdSkinImageLayout value);
  const TRect& Margins() const { return margins_; }
  void SetMargins(const TRect& value);
  TvdSkinElementStates States() const { return states_; }
  void SetStates(TvdSkinElementStates value);
  TvdSkinStretchMode Stretch() const { return stretch_; }
  void SetStretch(TvdSkinStretchMode value);
  std::function<void()> OnChange;

  const TvdSkinPicture& Picture() const { return picture_; }
  void SetPicture(TvdSkinPicture picture);
  void Clear();
  bool IsEmpty() const { return sourceName_.empty() && picture_.Empty(); }
  // The source name, or for a picture "Group\Element_Image.png".
  String GetName() const;
  void MarkDirty() { dirty_ = true; }

  TSize GetSize();  // the size of one part
  int GetStateCount();
  TRect GetImageRect(int imageIndex, TvdSkinElementState state);
  // The state itself when present, else the first present state.
  TvdSkinElementState CheckState(TvdSkinElementState state);
  // The nine source parts of one state, cut at Margins, and their visibility.
  const std::array<TRect, 9>& SourceParts();
  bool PartVisible(int index);
  void CheckInfo();

#ifdef _WIN32
  void Draw(vdSkinDC dc, const TRect& r, int imageIndex = 0, TvdSkinElementState state = esNormal);
  void DrawEx(TvdSkinCanvas& canvas, const TRect& r, int imageIndex, TvdSkinElementState state);
#endif

  void Assign(const TPersistent* source) override;
  bool IsEqual(TvdSkinImage& other);
  void ReadData(TStream& stream, double version);
  void WriteData(TStream& stream) const;

 private:
  void Changed();
  void CalculateLayout();

  TvdSkinElement* owner_;
  TvdSkinGradientMode gradient_ = gmHorizontal;
  TColor gradientBeginColor_ = vdSkinColorNone;
  TColor gradientEndColor_ = vdSkinColorNone;
  TvdSkinImageLayout imageLayout_ = ilHorizontal;
  TRect margins_;
  TvdSkinElementStates states_ = 0;
  TvdSkinStretchMode stretch_ = smStretch;
  TvdSkinPicture picture_;
  String sourceName_;

  bool dirty_ = true;
  int stateCount_ = 0;
  TSize partSize_;
  std::array<TRect, vdSkinElementStateCount> stateRects_{};
  std::array<TRect, 9> parts_{};
  std::array<bool, 9> partVisible_{};
};

class TvdSkinElement : public TvdSkinPersistent {
 public:
  TvdSkinElement(TPersistent* owner, String name);
  ~TvdSkinElement() override;
  const char* ClassName() const override { return "TvdSkinElement"; }
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinElement>(owner, name);
  }

  uint8_t Alpha() const { return alpha_; }
  void SetAlpha(uint8_t value);
  TColor Color() const { return color_; }
  // Always notifies, also with the same value.
  void SetColor(TColor value);
  bool IsColorAssigned() const { return colorAssigned_; }
  const TRect& ContentOffset() const { return contentOffset_; }
  void SetContentOffset(const TRect& value);
  int32_t ImageCount() const { return imageCount_; }
  void SetImageCount(int32_t value);
  const TSize& MinSize() const { return minSize_; }
  void SetMinSize(TSize value);
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor value);
  TvdSkinImage& Image() { return *image_; }
  const TvdSkinImage& Image() const { return *image_; }
  TvdSkinImage& Glyph() { return *glyph_; }
  const TvdSkinImage& Glyph() const { return *glyph_; }
  TvdSkinBorders& Borders() { return *borders_; }
  const TvdSkinBorders& Borders() const { return *borders_; }
  bool UseCache() const { return useCache_; }
  void SetUseCache(bool value) { useCache_ = value; }

  TColor GetTextColor(TvxButtonState state);
  // Name + "_Image.png" for Image, Name + "_Glyph.png" for Glyph.
  String GetImageName(const TvdSkinImage& image) const;
  TSize GetImageSize() { return image_->GetSize(); }
  bool IsAlphaUsed() const;
  TvdSkinControlGroup* GetGroup() const;

#ifdef _WIN32
  // Draws image imageIndex in state into r on dc: background, image, borders
  // and glyph (through the element's cache when UseCache). Nothing when no
  // part of r is visible on dc.
  virtual void Draw(vdSkinDC dc, const TRect& r, int imageIndex = 0, TvdSkinElementState state = esNormal);
  void DrawCore(TvdSkinCanvas& canvas, const TRect& r, int imageIndex, TvdSkinElementState state);
  void FillBackground(TvdSkinCanvas& canvas, const TRect& r);
  // Forgets the cached picture: the next Draw renders afresh.
  void FlushCache();
  // Made by the first Draw with UseCache; nil before.
  TvdSkinElementCache* Cache() const { return cache_.get(); }
#endif

  void Assign(const TPersistent* source) override;
  bool ArePropertiesEqual(const TvdSkinElement& other) const;
  bool IsEqual(TvdSkinElement& other);
  void ReadData(TStream& stream, double version);
  void WriteData(TStream& stream) const;

 private:
  uint8_t alpha_ = 255;
  TColor color_ = vdSkinColorDefault;
  bool colorAssigned_ = false;
  TRect contentOffset_;
  int32_t imageCount_ = 1;
  TSize minSize_;
  TColor textColor_ = vdSkinColorDefault;
  std::unique_ptr<TvdSkinImage> image_;
  std::unique_ptr<TvdSkinImage> glyph_;
  std::unique_ptr<TvdSkinBorders> borders_;
  bool useCache_ = false;
#ifdef _WIN32
  std::unique_ptr<TvdSkinElementCache, TvdSkinElementCacheFree> cache_;
#endif
};

// Stands in for a missing element: the painters draw it as a red frame.
class TvdSkinEmptyElement : public TvdSkinElement {
 public:
  using TvdSkinElement::TvdSkinElement;
  const char* ClassName() const override { return "TvdSkinEmptyElement"; }
#ifdef _WIN32
  // White, framed one pixel wide in red; index and state are ignored.
  void Draw(vdSkinDC dc, const TRect& r, int imageIndex = 0, TvdSkinElementState state = esNormal) override;
#endif
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinEmptyElement>(owner, name);
  }
};

// --- Drawing geometry ----------------------------------------------------------

// The nine parts of r cut at margins m, row by row: top-left corner, top
// edge, top-right corner, left edge, centre, right edge, bottom-left
// corner, bottom edge, bottom-right corner. Every cut lies inside r.
std::array<TRect, 9> vdSkinSplitRectByMargins(const TRect& r, const TRect& m);
// Margins m with each opposite pair that is wider (or taller) than r
// shrunk in proportion, so that the pair fits.
TRect vdSkinShrinkMargins(const TRect& m, const TRect& r);

// One picture draw of an image: the part Source of the picture into Dest;
// Gradient marks the centre that the image's gradient fills instead.
struct TvdSkinImagePiece {
  TRect Dest;
  TRect Source;
  bool Gradient = false;
};
struct TvdSkinImagePieces {
  std::array<TvdSkinImagePiece, 9> Items;
  int Count = 0;
};
// What drawing image into d from the state rectangle s of its picture
// draws: one unscaled piece centred in d for smNoResize, else the visible
// ones of the nine parts cut at the (shrunk) margins, to be stretched or
// tiled by the image's Stretch.
TvdSkinImagePieces vdSkinImagePieces(TvdSkinImage& image, const TRect& d, const TRect& s);

// The element, or the shared empty element when it is nil.
TvdSkinElement* vdSkinElementOrEmpty(TvdSkinElement* element);

class TvdSkinElements : public TvdSkinCustomPersistentObjectList {
 public:
  using TvdSkinCustomPersistentObjectList::TvdSkinCustomPersistentObjectList;
  TvdSkinElement* Items(int index) const { return static_cast<TvdSkinElement*>(ItemAt(index)); }
  TvdSkinElement* FindByName(const String& name) {
    return static_cast<TvdSkinElement*>(TvdSkinCustomPersistentObjectList::FindByName(name));
  }
  TvdSkinElement* Add(const String& name) {
    return static_cast<TvdSkinElement*>(Append(std::make_unique<TvdSkinElement>(owner_, name)));
  }
  void ReadData(TStream& stream, double version) override;
  void WriteData(TStream& stream) const override;
};

class TvdSkinControlGroup : public TvdSkinPersistent {
 public:
  TvdSkinControlGroup(TPersistent* owner, String name);
  const char* ClassName() const override { return "TvdSkinControlGroup"; }
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkinControlGroup>(owner, name);
  }

  TvdSkinElements& Elements() { return elements_; }
  const TvdSkinElements& Elements() const { return elements_; }
  TvdSkinElement* AddElement(const String& name) { return elements_.Add(name); }
  TvdSkinElement* GetElementByName(const String& name) { return elements_.FindByName(name); }
  TvdSkin* GetSkin() const;

  void Assign(const TPersistent* source) override;
  void Clear() override;
  void Sort() override;
  void ReadData(TStream& stream, double version);
  void WriteData(TStream& stream) const;

 private:
  TvdSkinElements elements_;
};

class TvdSkinControlGroups : public TvdSkinCustomPersistentObjectList {
 public:
  using TvdSkinCustomPersistentObjectList::TvdSkinCustomPersistentObjectList;
  TvdSkinControlGroup* Items(int index) const { return static_cast<TvdSkinControlGroup*>(ItemAt(index)); }
  TvdSkinControlGroup* FindByName(const String& name) {
    return static_cast<TvdSkinControlGroup*>(TvdSkinCustomPersistentObjectList::FindByName(name));
  }
  TvdSkinControlGroup* Add(const String& name) {
    return static_cast<TvdSkinControlGroup*>(Append(std::make_unique<TvdSkinControlGroup>(owner_, name)));
  }
  void ReadData(TStream& stream, double version) override;
  void WriteData(TStream& stream) const override;
};

// --- The skin ---------------------------------------------------------------

class IvdSkinObserver {
 public:
  virtual void SkinChanged(TvdSkin* sender) = 0;

 protected:
  ~IvdSkinObserver() = default;
};

class TvdSkin : public TvdSkinPersistent {
 public:
  explicit TvdSkin(String name);
  ~TvdSkin() override;
  const char* ClassName() const override { return "TvdSkin"; }
  std::unique_ptr<TvdSkinCustomPersistentObject> CreateSameClass(TPersistent* owner,
                                                                 const String& name) const override {
    return std::make_unique<TvdSkin>(name);
  }
  std::unique_ptr<TvdSkin> CloneSkin() const;

  // The property "DisplayName" when the skin has a string one, else Name.
  String DisplayName();
  double Version() const { return version_; }
  TvdSkinColors& Colors() { return colors_; }
  const TvdSkinColors& Colors() const { return colors_; }
  TvdSkinControlGroups& Groups() { return groups_; }
  const TvdSkinControlGroups& Groups() const { return groups_; }

  TvdSkinControlGroup* AddGroup(const String& name) { return groups_.Add(name); }
  TvdSkinControlGroup* GetGroupByName(const String& name) { return groups_.FindByName(name); }
  TvdSkinColor* GetColorByName(const String& name) { return static_cast<TvdSkinColor*>(colors_.FindByName(name)); }
  void AddListener(IvdSkinObserver* listener);
  void RemoveListener(IvdSkinObserver* listener);

  // Reads a whole skin stream into a new skin and, when all of it read, takes
  // its content; on any error this skin is left as it was.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
#ifdef _WIN32
  // Reads the resource of type "VDSKINS" named after the skin (in any case)
  // from a module of the program; EResNotFound when it has none.
  void LoadFromResource(void* module);
#endif

  void Assign(const TPersistent* source) override;
  void Clear() override;
  void Sort() override;
  void DeleteProperty(TvdSkinProperty* property) override;
  bool IsEqual(TvdSkin& other);

 protected:
  void DoChange() override;

 private:
  void NotifyListeners();
  void ReadContent(TStream& stream);

  double version_ = vdSkinCurrentVersion;
  TvdSkinColors colors_;
  TvdSkinControlGroups groups_;
  std::vector<IvdSkinObserver*> listeners_;
  bool destroying_ = false;
};

// A window onto the range [start, end) of another stream; reads stop at the
// window's end.
class TvdSkinPartStream : public TStream {
 public:
  const char* ClassName() const override { return "TvdSkinPartStream"; }
  void Initialize(TStream* source, int64_t start, int64_t end);
  int64_t Size() override { return end_ - start_; }
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  TStream* source_ = nullptr;
  int64_t start_ = 0;
  int64_t end_ = 0;
};

// The primitive fields of the stream format.
int32_t vdSkinReadInteger(TStream& stream);
String vdSkinReadString(TStream& stream);
String vdSkinReadWideString(TStream& stream);
void vdSkinWriteInteger(TStream& stream, int32_t value);
void vdSkinWriteString(TStream& stream, const String& value);
void vdSkinWriteWideString(TStream& stream, const String& value);
// Reads the signature and returns the version stored after it.
double vdSkinCheckSignature(TStream& stream);
void vdSkinWriteSignature(TStream& stream);
// Refuses versions below 1.0; newer versions read as the current one.
double vdSkinCheckVersion(double version);
