#include "skins/vdSkinsCore.h"

#include <algorithm>
#include <cstdint>
#include <typeinfo>

#include "foundation/vdOffice11.h"
#include "foundation/vxGeometry.h"

// --- Named objects ------------------------------------------------------------

void TvdSkinCustomPersistentObject::DoChange() {
  if (OnChange) OnChange(this);
}

std::unique_ptr<TvdSkinCustomPersistentObject> TvdSkinCustomPersistentObject::Clone() const {
  auto copy = CreateSameClass(nullptr, name_);
  copy->Assign(this);
  return copy;
}

// --- Lists --------------------------------------------------------------------

TvdSkinCustomPersistentObject* TvdSkinCustomPersistentObjectList::FindByName(const String& name) {
  if (!sorted_) Sort();
  int lo = 0, hi = Count() - 1;
  while (hi >= lo) {
    int mid = (lo + hi) / 2;
    int c = AnsiCompareStr(items_[size_t(mid)]->Name(), name);
    if (c < 0)
      lo = mid + 1;
    else if (c > 0)
      hi = mid - 1;
    else
      return items_[size_t(mid)].get();
  }
  return nullptr;
}

void TvdSkinCustomPersistentObjectList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& a, const auto& b) { return AnsiCompareStr(a->Name(), b->Name()) < 0; });
  sorted_ = true;
}

void TvdSkinCustomPersistentObjectList::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TvdSkinCustomPersistentObjectList::Changed() {
  sorted_ = false;
  if (updateCount_ == 0 && OnChanged) OnChanged();
}

void TvdSkinCustomPersistentObjectList::Adopt(TvdSkinCustomPersistentObject& item) {
  item.SetOwner(owner_);
  item.OnChange = [this](TvdSkinCustomPersistentObject*) { Changed(); };
}

TvdSkinCustomPersistentObject* TvdSkinCustomPersistentObjectList::Append(
    std::unique_ptr<TvdSkinCustomPersistentObject> item) {
  Adopt(*item);
  items_.push_back(std::move(item));
  Changed();
  return items_.back().get();
}

int TvdSkinCustomPersistentObjectList::FreeAndRemove(TvdSkinCustomPersistentObject* item) {
  auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
  if (it == items_.end()) return -1;
  int index = int(it - items_.begin());
  items_.erase(it);
  Changed();
  return index;
}

void TvdSkinCustomPersistentObjectList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TvdSkinCustomPersistentObjectList::TakeItemsFrom(TvdSkinCustomPersistentObjectList& other) {
  items_ = std::move(other.items_);
  other.items_.clear();
  for (auto& item : items_) Adopt(*item);
  Changed();
}

TvdSkinColor* TvdSkinProperties::AddColor(const String& name, TColor value) {
  auto* color = Add<TvdSkinColor>(name);
  color->SetValue(value);
  return color;
}

// --- Property values ------------------------------------------------------------

String TvdSkinProperty::GetDescription() const {
  String s = ClassName();
  for (const char* word : {"tvdskin", "property"}) {
    for (size_t at; (at = LowerCase(s).find(word)) != String::npos;) s.erase(at, std::char_traits<char>::length(word));
  }
  return s;
}

template <typename T>
const T& TvdSkinProperty::SameClassSource(const TPersistent* source) const {
  auto* typed = dynamic_cast<const T*>(source);
  if (!typed || typeid(*typed) != typeid(*this))
    throw EConvertError("Cannot assign a %s to a %s", {source ? source->ClassName() : "nil", ClassName()});
  return *typed;
}

#define QE_SKIN_VALUE_PROPERTY_BODY(Class, Type)                              \
  void Class::SetValue(Type value) {                                          \
    if (value_ == value) return;                                              \
    value_ = value;                                                           \
    DoChange();                                                               \
  }                                                                           \
  void Class::Assign(const TPersistent* source) {                             \
    SetValue(SameClassSource<Class>(source).value_);                          \
  }                                                                           \
  bool Class::IsEqual(const TvdSkinProperty& other) const {                   \
    if (typeid(other) != typeid(*this) || other.Name() != Name()) return false; \
    return Equal(value_, static_cast<const Class&>(other).value_);            \
  }

namespace {

template <typename T>
bool Equal(const T& a, const T& b) {
  return a == b;
}
bool Equal(const String& a, const String& b) { return AnsiCompareStr(a, b) == 0; }

}  // namespace

QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinIntegerProperty, int32_t)
QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinBooleanProperty, bool)
QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinColor, TColor)
QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinRectProperty, TRect)
QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinSizeProperty, TSize)
QE_SKIN_VALUE_PROPERTY_BODY(TvdSkinStringProperty, String)
#undef QE_SKIN_VALUE_PROPERTY_BODY

// Class names match without regard to case, as in the platform's class
// registry.
std::unique_ptr<TvdSkinProperty> vdSkinCreatePropertyByClassName(const String& className, TPersistent* owner,
                                                                 const String& name) {
  auto is = [&](const char* candidate) { return SameText(className, candidate); };
  if (is("TvdSkinIntegerProperty")) return std::make_unique<TvdSkinIntegerProperty>(owner, name);
  if (is("TvdSkinColor")) return std::make_unique<TvdSkinColor>(owner, name);
  if (is("TvdSkinRectProperty")) return std::make_unique<TvdSkinRectProperty>(owner, name);
  if (is("TvdSkinSizeProperty")) return std::make_unique<TvdSkinSizeProperty>(owner, name);
  if (is("TvdSkinBooleanProperty")) return std::make_unique<TvdSkinBooleanProperty>(owner, name);
  if (is("TvdSkinStringProperty")) return std::make_unique<TvdSkinStringProperty>(owner, name);
  if (is("TvdSkinWideStringProperty")) return std::make_unique<TvdSkinWideStringProperty>(owner, name);
  return nullptr;
}

void TvdSkinBorder::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  DoChange();
}

void TvdSkinBorder::SetThin(int32_t value) {
  if (thin_ == value) return;
  thin_ = value;
  DoChange();
}

TRect TvdSkinBorder::StripRect(const TRect& r) const {
  // Thin comes from a stream: no wider than the rectangle, never negative.
  const int32_t thin = int32_t(std::clamp<int64_t>(thin_, 0, std::max(0, side_ % 2 ? r.Height() : r.Width())));
  switch (side_) {
    case 0: return TRect(r.Left, r.Top, r.Left + thin, r.Bottom);
    case 1: return TRect(r.Left, r.Top, r.Right, r.Top + thin);
    case 2: return TRect(r.Right - thin, r.Top, r.Right, r.Bottom);
    default: return TRect(r.Left, r.Bottom - thin, r.Right, r.Bottom);
  }
}

void TvdSkinBorder::Assign(const TPersistent* source) {
  // A source of another class is ignored.
  auto* border = dynamic_cast<const TvdSkinBorder*>(source);
  if (!border) return;
  side_ = border->side_;
  color_ = border->color_;
  thin_ = border->thin_;
  DoChange();
}

bool TvdSkinBorder::IsEqual(const TvdSkinProperty& other) const {
  auto* border = dynamic_cast<const TvdSkinBorder*>(&other);
  return border && typeid(other) == typeid(*this) && border->color_ == color_ && border->thin_ == thin_ &&
         border->side_ == side_;
}

TvdSkinBorders::TvdSkinBorders(TPersistent* owner, String name) : TvdSkinProperty(owner, std::move(name)) {
  static const char* const kSides[4] = {"Left", "Top", "Right", "Bottom"};
  for (int side = 0; side < 4; ++side) {
    borders_[size_t(side)] = std::make_unique<TvdSkinBorder>(this, kSides[side], side);
    borders_[size_t(side)]->OnChange = [this](TvdSkinCustomPersistentObject*) { BorderChanged(); };
  }
}

void TvdSkinBorders::Assign(const TPersistent* source) {
  const auto& other = SameClassSource<TvdSkinBorders>(source);
  for (int side = 0; side < 4; ++side) (*this)[side].Assign(&other[side]);
}

bool TvdSkinBorders::IsEqual(const TvdSkinProperty& other) const {
  auto* borders = dynamic_cast<const TvdSkinBorders*>(&other);
  if (!borders) return false;
  for (int side = 0; side < 4; ++side)
    if (!(*this)[side].IsEqual((*borders)[side])) return false;
  return true;
}

// --- Objects with properties -------------------------------------------------

TvdSkinPersistent::TvdSkinPersistent(TPersistent* owner, String name)
    : TvdSkinCustomPersistentObject(owner, std::move(name)), properties_(this) {
  properties_.OnChanged = [this] { SubItemChanged(); };
}

void TvdSkinPersistent::EndUpdate() {
  if (lockCount_ > 0 && --lockCount_ == 0) Changed();
}

void TvdSkinPersistent::Changed() {
  modified_ = true;
  if (lockCount_ == 0) DoChange();
}

void TvdSkinPersistent::Clear() { properties_.Clear(); }

void TvdSkinPersistent::Sort() { properties_.Sort(); }

void TvdSkinPersistent::DeleteProperty(TvdSkinProperty* property) { properties_.FreeAndRemove(property); }

void TvdSkinPersistent::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvdSkinPersistent*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    properties_.Clear();
    for (int i = 0; i < other->PropertyCount(); ++i) {
      const TvdSkinProperty* p = other->Property(i);
      properties_.Append(p->CreateSameClass(this, p->Name()))->Assign(p);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --- Images -----------------------------------------------------------------------

#define QE_SKIN_IMAGE_SETTER(Setter, Type, field) \
  void TvdSkinImage::Setter(Type value) {         \
    if (field == value) return;                   \
    field = value;                                \
    Changed();                                    \
  }
QE_SKIN_IMAGE_SETTER(SetGradient, TvdSkinGradientMode, gradient_)
QE_SKIN_IMAGE_SETTER(SetGradientBeginColor, TColor, gradientBeginColor_)
QE_SKIN_IMAGE_SETTER(SetGradientEndColor, TColor, gradientEndColor_)
QE_SKIN_IMAGE_SETTER(SetImageLayout, TvdSkinImageLayout, imageLayout_)
QE_SKIN_IMAGE_SETTER(SetMargins, const TRect&, margins_)
QE_SKIN_IMAGE_SETTER(SetStates, TvdSkinElementStates, states_)
QE_SKIN_IMAGE_SETTER(SetStretch, TvdSkinStretchMode, stretch_)
#undef QE_SKIN_IMAGE_SETTER

void TvdSkinImage::Changed() {
  dirty_ = true;
  if (OnChange) OnChange();
}

void TvdSkinImage::SetPicture(TvdSkinPicture picture) {
  picture_ = std::move(picture);
  Changed();
}

void TvdSkinImage::Clear() {
  picture_.Clear();
  sourceName_.clear();
  Changed();
}

String TvdSkinImage::GetName() const {
  if (!sourceName_.empty()) return sourceName_;
  if (picture_.Empty() || !owner_) return String();
  return owner_->GetGroup()->Name() + "\\" + owner_->GetImageName(*this);
}

void TvdSkinImage::CheckInfo() {
  if (dirty_) CalculateLayout();
}

TSize TvdSkinImage::GetSize() {
  CheckInfo();
  return partSize_;
}

int TvdSkinImage::GetStateCount() {
  CheckInfo();
  return stateCount_;
}

// Margins come from streams: the sums are taken in 64 bits.
std::array<TRect, 9> vdSkinSplitRectByMargins(const TRect& r, const TRect& m) {
  auto cut = [](int64_t v, int32_t lo, int32_t hi) { return int32_t(std::clamp<int64_t>(v, lo, std::max(lo, hi))); };
  int32_t x1 = cut(int64_t(r.Left) + m.Left, r.Left, r.Right), y1 = cut(int64_t(r.Top) + m.Top, r.Top, r.Bottom);
  int32_t x2 = cut(int64_t(r.Right) - m.Right, r.Left, r.Right);
  int32_t y2 = cut(int64_t(r.Bottom) - m.Bottom, r.Top, r.Bottom);
  return {TRect(r.Left, r.Top, x1, y1),    TRect(x1, r.Top, x2, y1),     TRect(x2, r.Top, r.Right, y1),
          TRect(r.Left, y1, x1, y2),       TRect(x1, y1, x2, y2),        TRect(x2, y1, r.Right, y2),
          TRect(r.Left, y2, x1, r.Bottom), TRect(x1, y2, x2, r.Bottom), TRect(x2, y2, r.Right, r.Bottom)};
}

TRect vdSkinShrinkMargins(const TRect& m, const TRect& r) {
  TRect result = m;
  // Each margin gives up its share of the excess, rounded to nearest.
  auto shrink = [](int32_t& a, int32_t& b, int64_t extent) {
    int64_t sum = int64_t(a) + b;
    int64_t excess = sum - extent;
    if (excess <= 0 || sum <= 0 || excess > INT32_MAX || sum > INT32_MAX) return;
    a -= vdMulDiv(a, int(excess), int(sum));
    b -= vdMulDiv(b, int(excess), int(sum));
  };
  shrink(result.Left, result.Right, int64_t(r.Right) - r.Left);
  shrink(result.Top, result.Bottom, int64_t(r.Bottom) - r.Top);
  return result;
}

TvdSkinImagePieces vdSkinImagePieces(TvdSkinImage& image, const TRect& d, const TRect& s) {
  TvdSkinImagePieces pieces;
  if (image.Stretch() == smNoResize) {
    pieces.Items[0] = {vxCenteredRectOfSize(d, image.GetSize()), s, false};
    pieces.Count = 1;
    return pieces;
  }
  const std::array<TRect, 9> dest = vdSkinSplitRectByMargins(d, vdSkinShrinkMargins(image.Margins(), d));
  const std::array<TRect, 9>& source = image.SourceParts();
  for (int i = 0; i < 9; ++i) {
    if (!image.PartVisible(i)) continue;
    // The state rectangle of an index beyond the picture is saturated; so
    // is the part moved into it.
    auto move = [](int32_t v, int32_t by) { return int32_t(std::clamp<int64_t>(int64_t(v) + by, INT32_MIN, INT32_MAX)); };
    const TRect& p = source[size_t(i)];
    TRect part(move(p.Left, s.Left), move(p.Top, s.Top), move(p.Right, s.Left), move(p.Bottom, s.Top));
    bool gradient = i == 4 && image.GradientBeginColor() != vdSkinColorNone;
    pieces.Items[size_t(pieces.Count++)] = {dest[size_t(i)], part, gradient};
  }
  return pieces;
}

void TvdSkinImage::CalculateLayout() {
  dirty_ = false;
  stateCount_ = std::popcount(unsigned(states_ & ((1u << vdSkinElementStateCount) - 1)));
  partSize_ = TSize{picture_.Width(), picture_.Height()};
  // The stream reader never stores a count below 1; the guard keeps a
  // hand-made element from dividing by zero all the same.
  int32_t imageCount = std::max<int32_t>(1, owner_ ? owner_->ImageCount() : 1);
  if (stateCount_ >= 1) {
    int32_t& along = imageLayout_ == ilHorizontal ? partSize_.cx : partSize_.cy;
    along = along / imageCount / stateCount_;
  }
  TRect current(0, 0, partSize_.cx, partSize_.cy);
  for (int s = 0; s < vdSkinElementStateCount; ++s) {
    if (states_ & (1u << s)) {
      stateRects_[size_t(s)] = current;
      if (imageLayout_ == ilHorizontal) {
        current.Left += partSize_.cx;
        current.Right += partSize_.cx;
      } else {
        current.Top += partSize_.cy;
        current.Bottom += partSize_.cy;
      }
    } else {
      stateRects_[size_t(s)] = TRect();
    }
  }
  parts_ = vdSkinSplitRectByMargins(TRect(0, 0, partSize_.cx, partSize_.cy), margins_);
  for (size_t i = 0; i < 9; ++i) partVisible_[i] = parts_[i].Width() > 0 && parts_[i].Height() > 0;
}

TRect TvdSkinImage::GetImageRect(int imageIndex, TvdSkinElementState state) {
  CheckInfo();
  TRect r = stateRects_.at(size_t(state));
  if (imageIndex > 0) {
    // An index beyond the picture gives a rectangle beyond it, saturated
    // rather than wrapped round.
    auto shift = [](int32_t& a, int32_t& b, int64_t by) {
      a = int32_t(std::clamp<int64_t>(a + by, INT32_MIN, INT32_MAX));
      b = int32_t(std::clamp<int64_t>(b + by, INT32_MIN, INT32_MAX));
    };
    if (imageLayout_ == ilHorizontal)
      shift(r.Left, r.Right, int64_t(imageIndex) * stateCount_ * partSize_.cx);
    else
      shift(r.Top, r.Bottom, int64_t(imageIndex) * stateCount_ * partSize_.cy);
  }
  return r;
}

TvdSkinElementState TvdSkinImage::CheckState(TvdSkinElementState state) {
  CheckInfo();
  if (states_ & (1u << state) || states_ == 0) return state;
  for (int s = 0; s < vdSkinElementStateCount; ++s)
    if (states_ & (1u << s)) return TvdSkinElementState(s);
  return state;
}

const std::array<TRect, 9>& TvdSkinImage::SourceParts() {
  CheckInfo();
  return parts_;
}

bool TvdSkinImage::PartVisible(int index) {
  CheckInfo();
  return partVisible_.at(size_t(index));
}

void TvdSkinImage::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvdSkinImage*>(source);
  if (!other) return;
  if (other->IsEmpty()) {
    picture_.Clear();
    sourceName_.clear();
  } else {
    picture_ = other->picture_;
    sourceName_ = other->GetName();
  }
  gradientBeginColor_ = other->gradientBeginColor_;
  gradientEndColor_ = other->gradientEndColor_;
  gradient_ = other->gradient_;
  imageLayout_ = other->imageLayout_;
  margins_ = other->margins_;
  stretch_ = other->stretch_;
  states_ = other->states_;
  Changed();
}

bool TvdSkinImage::IsEqual(TvdSkinImage& other) {
  return imageLayout_ == other.imageLayout_ && IsEmpty() == other.IsEmpty() && states_ == other.states_ &&
         gradient_ == other.gradient_ && gradientBeginColor_ == other.gradientBeginColor_ &&
         gradientEndColor_ == other.gradientEndColor_ && stretch_ == other.stretch_ &&
         GetSize() == other.GetSize() && margins_ == other.margins_ && picture_.SameImageAs(other.picture_);
}

// --- Elements ---------------------------------------------------------------------

TvdSkinElement::TvdSkinElement(TPersistent* owner, String name)
    : TvdSkinPersistent(owner, std::move(name)),
      image_(std::make_unique<TvdSkinImage>(this)),
      glyph_(std::make_unique<TvdSkinImage>(this)),
      borders_(std::make_unique<TvdSkinBorders>(this, "Borders")) {
  image_->OnChange = [this] { SubItemChanged(); };
  glyph_->OnChange = [this] { SubItemChanged(); };
  borders_->OnChange = [this](TvdSkinCustomPersistentObject*) { SubItemChanged(); };
}

TvdSkinElement::~TvdSkinElement() = default;

void TvdSkinElement::SetAlpha(uint8_t value) {
  if (alpha_ == value) return;
  alpha_ = value;
  SetColor(color_);
}

void TvdSkinElement::SetColor(TColor value) {
  color_ = value;
  colorAssigned_ = value != vdSkinColorDefault && value != vdSkinColorNone;
  Changed();
}

void TvdSkinElement::SetContentOffset(const TRect& value) {
  if (contentOffset_ == value) return;
  contentOffset_ = value;
  SubItemChanged();
}

void TvdSkinElement::SetImageCount(int32_t value) {
  value = std::max<int32_t>(value, 1);
  if (imageCount_ == value) return;
  imageCount_ = value;
  image_->MarkDirty();
  glyph_->MarkDirty();
  Changed();
}

void TvdSkinElement::SetMinSize(TSize value) {
  value.cx = std::max<int32_t>(value.cx, 0);
  value.cy = std::max<int32_t>(value.cy, 0);
  if (minSize_ == value) return;
  minSize_ = value;
  SubItemChanged();
}

void TvdSkinElement::SetTextColor(TColor value) {
  if (textColor_ == value) return;
  textColor_ = value;
  Changed();
}

TColor TvdSkinElement::GetTextColor(TvxButtonState state) {
  const char* name = state == vxbsHot       ? "TextColorHot"
                     : state == vxbsPressed  ? "TextColorPressed"
                     : state == vxbsDisabled ? "TextColorDisabled"
                                             : nullptr;
  TColor value = vdSkinColorDefault;
  if (name)
    if (auto* color = dynamic_cast<TvdSkinColor*>(GetPropertyByName(name))) value = color->Value();
  return value == vdSkinColorDefault ? textColor_ : value;
}

String TvdSkinElement::GetImageName(const TvdSkinImage& image) const {
  return Name() + (&image == image_.get() ? "_Image.png" : "_Glyph.png");
}

bool TvdSkinElement::IsAlphaUsed() const {
  if (!image_->IsEmpty()) return image_->Picture().HasTranslucentPixels();
  return alpha_ < 255 || color_ == vdSkinColorNone;
}

TvdSkinControlGroup* TvdSkinElement::GetGroup() const {
  auto* group = dynamic_cast<TvdSkinControlGroup*>(Owner());
  if (!group) throw EConvertError("Invalid class typecast");
  return group;
}

void TvdSkinElement::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvdSkinElement*>(source);
  if (!other) {
    TvdSkinPersistent::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    image_->Assign(other->image_.get());
    glyph_->Assign(other->glyph_.get());
    alpha_ = other->alpha_;
    SetColor(other->color_);
    contentOffset_ = other->contentOffset_;
    SetImageCount(other->imageCount_);
    borders_->Assign(other->borders_.get());
    minSize_ = other->minSize_;
    textColor_ = other->textColor_;
    useCache_ = other->useCache_;
    TvdSkinPersistent::Assign(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TvdSkinElement::ArePropertiesEqual(const TvdSkinElement& other) const {
  if (PropertyCount() != other.PropertyCount()) return false;
  for (int i = 0; i < PropertyCount(); ++i)
    if (!Property(i)->IsEqual(*other.Property(i))) return false;
  return true;
}

bool TvdSkinElement::IsEqual(TvdSkinElement& other) {
  return Name() == other.Name() && color_ == other.color_ && imageCount_ == other.imageCount_ &&
         alpha_ == other.alpha_ && textColor_ == other.textColor_ && minSize_ == other.minSize_ &&
         contentOffset_ == other.contentOffset_ && borders_->IsEqual(*other.borders_) &&
         ArePropertiesEqual(other) && image_->IsEqual(*other.image_) && glyph_->IsEqual(*other.glyph_);
}

TvdSkinElement* vdSkinElementOrEmpty(TvdSkinElement* element) {
  static TvdSkinEmptyElement empty(nullptr, String());
  return element ? element : &empty;
}

// --- Groups -----------------------------------------------------------------------

TvdSkinControlGroup::TvdSkinControlGroup(TPersistent* owner, String name)
    : TvdSkinPersistent(owner, std::move(name)), elements_(this) {
  elements_.OnChanged = [this] { SubItemChanged(); };
}

TvdSkin* TvdSkinControlGroup::GetSkin() const {
  auto* skin = dynamic_cast<TvdSkin*>(Owner());
  if (!skin) throw EConvertError("Invalid class typecast");
  return skin;
}

void TvdSkinControlGroup::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvdSkinControlGroup*>(source);
  BeginUpdate();
  try {
    if (other) {
      elements_.Clear();
      for (int i = 0; i < other->elements_.Count(); ++i) {
        const TvdSkinElement* e = other->elements_.Items(i);
        elements_.Append(e->CreateSameClass(this, e->Name()))->Assign(e);
      }
    }
    TvdSkinPersistent::Assign(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvdSkinControlGroup::Clear() {
  TvdSkinPersistent::Clear();
  elements_.Clear();
}

void TvdSkinControlGroup::Sort() {
  TvdSkinPersistent::Sort();
  elements_.Sort();
}

// --- The skin -----------------------------------------------------------------------

TvdSkin::TvdSkin(String name) : TvdSkinPersistent(nullptr, std::move(name)), colors_(this), groups_(this) {
  colors_.OnChanged = [this] { SubItemChanged(); };
  groups_.OnChanged = [this] { SubItemChanged(); };
}

TvdSkin::~TvdSkin() { destroying_ = true; }

std::unique_ptr<TvdSkin> TvdSkin::CloneSkin() const {
  auto copy = std::make_unique<TvdSkin>(Name());
  copy->Assign(this);
  return copy;
}

String TvdSkin::DisplayName() {
  if (auto* p = dynamic_cast<TvdSkinStringProperty*>(GetPropertyByName("DisplayName"))) return p->Value();
  return Name();
}

void TvdSkin::AddListener(IvdSkinObserver* listener) { listeners_.push_back(listener); }

void TvdSkin::RemoveListener(IvdSkinObserver* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void TvdSkin::DoChange() {
  NotifyListeners();
  TvdSkinPersistent::DoChange();
}

void TvdSkin::NotifyListeners() {
  if (destroying_) return;
  // Changes a listener makes while it hears of this one notify nobody.
  ++lockCount_;
  try {
    size_t count = listeners_.size();
    for (size_t i = 0; i < count && i < listeners_.size(); ++i) listeners_[i]->SkinChanged(this);
  } catch (...) {
    --lockCount_;
    throw;
  }
  --lockCount_;
}

void TvdSkin::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvdSkin*>(source);
  BeginUpdate();
  try {
    if (other) {
      colors_.Clear();
      for (int i = 0; i < other->colors_.Count(); ++i) {
        const TvdSkinColor* c = other->colors_.Items(i);
        colors_.Append(c->CreateSameClass(this, c->Name()))->Assign(c);
      }
      groups_.Clear();
      for (int i = 0; i < other->groups_.Count(); ++i) {
        const TvdSkinControlGroup* g = other->groups_.Items(i);
        groups_.Add(g->Name())->Assign(g);
      }
    }
    TvdSkinPersistent::Assign(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvdSkin::Clear() {
  BeginUpdate();
  TvdSkinPersistent::Clear();
  groups_.Clear();
  colors_.Clear();
  EndUpdate();
}

void TvdSkin::Sort() {
  TvdSkinPersistent::Sort();
  colors_.Sort();
  groups_.Sort();
}

void TvdSkin::DeleteProperty(TvdSkinProperty* property) {
  if (colors_.FreeAndRemove(property) < 0) TvdSkinPersistent::DeleteProperty(property);
}

namespace {

bool ListsEqual(const TvdSkinProperties& a, const TvdSkinProperties& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (!a.Items(i)->IsEqual(*b.Items(i))) return false;
  return true;
}

}  // namespace

bool TvdSkin::IsEqual(TvdSkin& other) {
  if (Name() != other.Name() || !ListsEqual(colors_, other.colors_) ||
      !ListsEqual(Properties(), other.Properties()) || groups_.Count() != other.groups_.Count())
    return false;
  for (int g = 0; g < groups_.Count(); ++g) {
    TvdSkinControlGroup& mine = *groups_.Items(g);
    TvdSkinControlGroup& theirs = *other.groups_.Items(g);
    if (mine.Name() != theirs.Name() || !ListsEqual(mine.Properties(), theirs.Properties()) ||
        mine.Elements().Count() != theirs.Elements().Count())
      return false;
    for (int e = 0; e < mine.Elements().Count(); ++e)
      if (!mine.Elements().Items(e)->IsEqual(*theirs.Elements().Items(e))) return false;
  }
  return true;
}
