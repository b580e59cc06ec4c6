// The skin stream: reader and writer side by side.
//
//   Int32 6, "vdSkin", Float64 version, String name,
//   colours:    Int32 count, { String class, String name, Int32 value }
//   properties: Int32 count, { String class, String name, value by class }
//   groups:     Int32 count, { String name, elements, properties }
//   elements:   Int32 count, { String name, element record }
//
// Integers are little-endian. A String is an Int32 byte count and the bytes
// (Windows-1252), a WideString an Int32 count of UTF-16 units; a count of 0
// or less is the empty string. Pictures are whole PNG files after their
// Int32 byte count.
//
// Nothing read is trusted: every count and length is checked against the
// bytes left before it is used, so a damaged stream ends in EvdSkin and
// never in a large allocation or a read past the end. Streams below version
// 1.0 are refused; only the picture gradient fields (1.02) may be missing.
#include <cmath>
#include <cstring>

#include "skins/vdSkinsCore.h"
#include "skins/vdSkinsStrs.h"

namespace {

constexpr char kSignature[6] = {'v', 'd', 'S', 'k', 'i', 'n'};
constexpr double kOldestVersion = 1.0;
constexpr double kGroupPropertiesVersion = 0.91;
constexpr double kClassNamesVersion = 0.92;
constexpr double kTextColorVersion = 0.93;
constexpr double kMinSizeVersion = 0.94;
constexpr double kElementPropertiesVersion = 0.95;
constexpr double kGradientVersion = 1.02;
// The smallest record of a list item: its name's length.
constexpr int64_t kMinItemBytes = 4;

int64_t BytesLeft(TStream& stream) { return stream.Size() - stream.Position(); }

void ReadExact(TStream& stream, void* buffer, int64_t count) {
  if (count > BytesLeft(stream) || stream.Read(buffer, count) != count) throw EvdSkin(sdxSkinStreamTruncated);
}

template <typename T>
T ReadField(TStream& stream) {
  T v;
  ReadExact(stream, &v, sizeof v);
  return v;
}

// A list's item count: negative counts hold no items, and no count may
// promise more items than the bytes left could hold.
int32_t ReadCount(TStream& stream) {
  int32_t count = ReadField<int32_t>(stream);
  if (count < 0) return 0;
  if (count > BytesLeft(stream) / kMinItemBytes) throw EvdSkin(sdxSkinStreamTruncated);
  return count;
}

TRect ReadRect(TStream& stream) {
  TRect r;
  r.Left = ReadField<int32_t>(stream);
  r.Top = ReadField<int32_t>(stream);
  r.Right = ReadField<int32_t>(stream);
  r.Bottom = ReadField<int32_t>(stream);
  return r;
}

void WriteRect(TStream& stream, const TRect& r) {
  for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) vdSkinWriteInteger(stream, v);
}

TSize ReadSize(TStream& stream) {
  TSize s;
  s.cx = ReadField<int32_t>(stream);
  s.cy = ReadField<int32_t>(stream);
  return s;
}

void WriteSize(TStream& stream, const TSize& s) {
  vdSkinWriteInteger(stream, s.cx);
  vdSkinWriteInteger(stream, s.cy);
}

}  // namespace

// --- Primitive fields --------------------------------------------------------------

int32_t vdSkinReadInteger(TStream& stream) { return ReadField<int32_t>(stream); }

void vdSkinWriteInteger(TStream& stream, int32_t value) { stream.WriteValue(value); }

String vdSkinReadString(TStream& stream) {
  int32_t length = ReadField<int32_t>(stream);
  if (length <= 0) return String();
  if (length > BytesLeft(stream)) throw EvdSkin(sdxSkinStreamTruncated);
  String s(size_t(length), '\0');
  ReadExact(stream, s.data(), length);
  return s;
}

void vdSkinWriteString(TStream& stream, const String& value) {
  vdSkinWriteInteger(stream, int32_t(value.size()));
  stream.WriteBuffer(value.data(), int64_t(value.size()));
}

String vdSkinReadWideString(TStream& stream) {
  int32_t length = ReadField<int32_t>(stream);
  if (length <= 0) return String();
  if (length > BytesLeft(stream) / 2) throw EvdSkin(sdxSkinStreamTruncated);
  std::vector<uint8_t> bytes(size_t(length) * 2);
  ReadExact(stream, bytes.data(), int64_t(bytes.size()));
  WideString w(size_t(length), u'\0');
  for (size_t i = 0; i < w.size(); ++i) w[i] = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return WideToAnsi(w);
}

void vdSkinWriteWideString(TStream& stream, const String& value) {
  WideString w = AnsiToWide(value);
  vdSkinWriteInteger(stream, int32_t(w.size()));
  for (char16_t c : w) {
    uint8_t pair[2] = {uint8_t(c & 0xFF), uint8_t(c >> 8)};
    stream.WriteBuffer(pair, 2);
  }
}

double vdSkinCheckSignature(TStream& stream) {
  // The leading Int32 (the signature's length) is not checked.
  char signature[6];
  if (BytesLeft(stream) < 4 + int64_t(sizeof signature)) throw EvdSkin(sdxSkinInvalidStreamFormat);
  stream.Seek(4, soCurrent);
  if (stream.Read(signature, sizeof signature) != sizeof signature ||
      std::memcmp(signature, kSignature, sizeof signature) != 0)
    throw EvdSkin(sdxSkinInvalidStreamFormat);
  return ReadField<double>(stream);
}

void vdSkinWriteSignature(TStream& stream) {
  vdSkinWriteInteger(stream, int32_t(sizeof kSignature));
  stream.WriteBuffer(kSignature, sizeof kSignature);
  stream.WriteValue(vdSkinCurrentVersion);
}

double vdSkinCheckVersion(double version) {
  // Also refuses a version that is not a number.
  if (!(version >= kOldestVersion)) throw EvdSkin(sdxSkinVersionMismatch);
  return std::min(version, vdSkinCurrentVersion);
}

// --- Property values ----------------------------------------------------------------

void TvdSkinProperty::ReadData(TStream& stream) {
  SetName(vdSkinReadString(stream));
  ReadValue(stream);
}

void TvdSkinProperty::WriteData(TStream& stream) const {
  vdSkinWriteString(stream, ClassName());
  vdSkinWriteString(stream, Name());
  WriteValue(stream);
}

void TvdSkinIntegerProperty::ReadValue(TStream& stream) { SetValue(ReadField<int32_t>(stream)); }
void TvdSkinIntegerProperty::WriteValue(TStream& stream) const { vdSkinWriteInteger(stream, value_); }
void TvdSkinBooleanProperty::ReadValue(TStream& stream) { SetValue(ReadField<uint8_t>(stream) != 0); }
void TvdSkinBooleanProperty::WriteValue(TStream& stream) const { stream.WriteValue(uint8_t(value_ ? 1 : 0)); }
void TvdSkinColor::ReadValue(TStream& stream) { SetValue(ReadField<int32_t>(stream)); }
void TvdSkinColor::WriteValue(TStream& stream) const { vdSkinWriteInteger(stream, value_); }
void TvdSkinRectProperty::ReadValue(TStream& stream) { SetValue(ReadRect(stream)); }
void TvdSkinRectProperty::WriteValue(TStream& stream) const { WriteRect(stream, value_); }
void TvdSkinSizeProperty::ReadValue(TStream& stream) { SetValue(ReadSize(stream)); }
void TvdSkinSizeProperty::WriteValue(TStream& stream) const { WriteSize(stream, value_); }
void TvdSkinStringProperty::ReadValue(TStream& stream) { SetValue(vdSkinReadString(stream)); }
void TvdSkinStringProperty::WriteValue(TStream& stream) const { vdSkinWriteString(stream, value_); }
void TvdSkinWideStringProperty::ReadValue(TStream& stream) { SetValue(vdSkinReadWideString(stream)); }
void TvdSkinWideStringProperty::WriteValue(TStream& stream) const { vdSkinWriteWideString(stream, value_); }

void TvdSkinBorder::ReadValue(TStream& stream) {
  SetColor(ReadField<int32_t>(stream));
  SetThin(ReadField<int32_t>(stream));
}

void TvdSkinBorder::WriteValue(TStream& stream) const {
  vdSkinWriteInteger(stream, color_);
  vdSkinWriteInteger(stream, thin_);
}

// Each border: String class (dropped), String name, Color, Thin.
void TvdSkinBorders::ReadValue(TStream& stream) {
  for (auto& border : borders_) {
    vdSkinReadString(stream);
    border->ReadData(stream);
  }
}

void TvdSkinBorders::WriteValue(TStream& stream) const {
  for (const auto& border : borders_) border->WriteData(stream);
}

// --- Lists ---------------------------------------------------------------------------

void TvdSkinProperties::ReadData(TStream& stream, double version) {
  BeginUpdate();
  try {
    for (int32_t i = 0, count = ReadCount(stream); i < count; ++i) {
      String className = vdSkinReadString(stream);
      String name = vdSkinReadString(stream);
      auto property = vdSkinCreatePropertyByClassName(className, owner_, name);
      if (!property) throw EvdSkin(sdxSkinClassNotFound, {className});
      static_cast<TvdSkinProperty*>(Append(std::move(property)))->ReadValue(stream);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvdSkinProperties::WriteData(TStream& stream) const {
  vdSkinWriteInteger(stream, Count());
  for (int i = 0; i < Count(); ++i) Items(i)->WriteData(stream);
}

// Every colour becomes a TvdSkinColor, whatever class the stream names.
void TvdSkinColors::ReadData(TStream& stream, double version) {
  BeginUpdate();
  try {
    for (int32_t i = 0, count = ReadCount(stream); i < count; ++i) {
      if (version >= kClassNamesVersion) vdSkinReadString(stream);
      String name = vdSkinReadString(stream);
      AddColor(name, ReadField<int32_t>(stream));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvdSkinElements::ReadData(TStream& stream, double version) {
  for (int32_t i = 0, count = ReadCount(stream); i < count; ++i) {
    String name = vdSkinReadString(stream);
    Add(name)->ReadData(stream, version);
  }
}

void TvdSkinElements::WriteData(TStream& stream) const {
  vdSkinWriteInteger(stream, Count());
  for (int i = 0; i < Count(); ++i) {
    vdSkinWriteString(stream, Items(i)->Name());
    Items(i)->WriteData(stream);
  }
}

void TvdSkinControlGroups::ReadData(TStream& stream, double version) {
  for (int32_t i = 0, count = ReadCount(stream); i < count; ++i) {
    String name = vdSkinReadString(stream);
    Add(name)->ReadData(stream, version);
  }
}

void TvdSkinControlGroups::WriteData(TStream& stream) const {
  vdSkinWriteInteger(stream, Count());
  for (int i = 0; i < Count(); ++i) {
    vdSkinWriteString(stream, Items(i)->Name());
    Items(i)->WriteData(stream);
  }
}

// --- Groups, elements and images -----------------------------------------------------

void TvdSkinControlGroup::ReadData(TStream& stream, double version) {
  elements_.ReadData(stream, version);
  if (version >= kGroupPropertiesVersion) Properties().ReadData(stream, version);
}

void TvdSkinControlGroup::WriteData(TStream& stream) const {
  elements_.WriteData(stream);
  Properties().WriteData(stream);
}

void TvdSkinElement::ReadData(TStream& stream, double version) {
  TColor color = ReadField<int32_t>(stream);
  alpha_ = ReadField<uint8_t>(stream);
  // A count below 1 would divide by zero in the picture layout.
  imageCount_ = std::max<int32_t>(1, ReadField<int32_t>(stream));
  contentOffset_ = ReadRect(stream);
  glyph_->ReadData(stream, version);
  image_->ReadData(stream, version);
  for (int side = 0; side < 4; ++side) {
    if (version >= kClassNamesVersion) vdSkinReadString(stream);
    TvdSkinBorder& border = (*borders_)[side];
    border.SetName(vdSkinReadString(stream));
    border.ReadValue(stream);
  }
  SetColor(color);
  if (version >= kTextColorVersion) textColor_ = ReadField<int32_t>(stream);
  if (version >= kMinSizeVersion) minSize_ = ReadSize(stream);
  if (version >= kElementPropertiesVersion) Properties().ReadData(stream, version);
}

void TvdSkinElement::WriteData(TStream& stream) const {
  vdSkinWriteInteger(stream, color_);
  stream.WriteValue(alpha_);
  vdSkinWriteInteger(stream, imageCount_);
  WriteRect(stream, contentOffset_);
  glyph_->WriteData(stream);
  image_->WriteData(stream);
  for (int side = 0; side < 4; ++side) {
    vdSkinWriteString(stream, "TvdSkinBorder");
    vdSkinWriteString(stream, (*borders_)[side].Name());
    (*borders_)[side].WriteValue(stream);
  }
  vdSkinWriteInteger(stream, textColor_);
  WriteSize(stream, minSize_);
  Properties().WriteData(stream);
}

void TvdSkinImage::ReadData(TStream& stream, double version) {
  margins_ = ReadRect(stream);
  imageLayout_ = TvdSkinImageLayout(ReadField<uint8_t>(stream));
  states_ = ReadField<uint16_t>(stream);
  stretch_ = TvdSkinStretchMode(ReadField<uint8_t>(stream));
  if (version >= kGradientVersion) {
    gradientBeginColor_ = ReadField<int32_t>(stream);
    gradientEndColor_ = ReadField<int32_t>(stream);
    gradient_ = TvdSkinGradientMode(ReadField<uint8_t>(stream));
  }
  int32_t size = ReadField<int32_t>(stream);
  if (size < 0) throw EvdSkin(sdxSkinNegativeSize);
  if (size > BytesLeft(stream)) throw EvdSkin(sdxSkinStreamTruncated);
  int64_t start = stream.Position();
  if (size > 0) {
    TvdSkinPartStream part;
    part.Initialize(&stream, start, start + size);
    picture_.LoadFromStream(part);
  }
  stream.SetPosition(start + size);
  dirty_ = true;
}

void TvdSkinImage::WriteData(TStream& stream) const {
  WriteRect(stream, margins_);
  stream.WriteValue(uint8_t(imageLayout_));
  stream.WriteValue(uint16_t(states_));
  stream.WriteValue(uint8_t(stretch_));
  vdSkinWriteInteger(stream, gradientBeginColor_);
  vdSkinWriteInteger(stream, gradientEndColor_);
  stream.WriteValue(uint8_t(gradient_));
  if (IsEmpty() || picture_.Empty()) {
    vdSkinWriteInteger(stream, 0);
    return;
  }
  vdSkinWriteInteger(stream, int32_t(picture_.Bytes().size()));
  picture_.SaveToStream(stream);
}

// --- The skin --------------------------------------------------------------------------

void TvdSkin::ReadContent(TStream& stream) {
  double version = vdSkinCheckSignature(stream);
  SetName(vdSkinReadString(stream));
  version_ = vdSkinCheckVersion(version);
  colors_.ReadData(stream, version_);
  Properties().ReadData(stream, version_);
  groups_.ReadData(stream, version_);
}

void TvdSkin::LoadFromStream(TStream& stream) {
  TvdSkin read(Name());
  read.ReadContent(stream);
  BeginUpdate();
  SetName(read.Name());
  version_ = read.version_;
  colors_.TakeItemsFrom(read.colors_);
  Properties().TakeItemsFrom(read.Properties());
  groups_.TakeItemsFrom(read.groups_);
  EndUpdate();
}

void TvdSkin::SaveToStream(TStream& stream) const {
  vdSkinWriteSignature(stream);
  vdSkinWriteString(stream, Name());
  colors_.WriteData(stream);
  Properties().WriteData(stream);
  groups_.WriteData(stream);
}

// --- The part stream ------------------------------------------------------------------

void TvdSkinPartStream::Initialize(TStream* source, int64_t start, int64_t end) {
  source_ = source;
  start_ = start;
  end_ = end;
}

int64_t TvdSkinPartStream::Read(void* buffer, int64_t count) {
  if (!source_) return 0;
  int64_t left = end_ - source_->Position();
  if (left <= 0) return 0;
  return source_->Read(buffer, std::min(count, left));
}

int64_t TvdSkinPartStream::Write(const void* buffer, int64_t count) {
  if (!source_) return 0;
  int64_t written = source_->Write(buffer, count);
  end_ = source_->Position();
  return written;
}

int64_t TvdSkinPartStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (!source_) return 0;
  int64_t target = origin == soBeginning ? start_ + offset
                   : origin == soEnd     ? end_ + offset
                                         : source_->Position() + offset;
  target = std::clamp(target, start_, end_);
  return source_->Seek(target, soBeginning) - start_;
}
