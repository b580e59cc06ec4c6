// Field buffer items and their text form.
#include "tabledb/FieldBuffers.h"

#include <cstring>

#include "platform/DateTime.h"
#include "platform/Numbers.h"

bool TFieldBufferItem::IsBlobType(uint8_t fieldType) {
  return (fieldType >= 15 && fieldType <= 21) || fieldType == 30 || fieldType == 31;
}

const void* TFieldBufferItem::ValueRef() const {
  if (!IsBlob()) return buffer_;
  TMemoryStream* stream = Stream();
  if (!stream) return nullptr;
  if (auto* deferred = dynamic_cast<TTomeDeferredBlob*>(stream)) deferred->Load();
  return stream->Memory();
}

int64_t TFieldBufferItem::ValueSize() const {
  if (!IsBlob()) return fieldSize_;
  TMemoryStream* stream = Stream();
  if (!stream) return 0;
  if (auto* deferred = dynamic_cast<TTomeDeferredBlob*>(stream)) deferred->Load();
  return stream->Size();
}

namespace {

template <class T>
T ValueAt(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The characters before the first NUL, never past the end of the value.
String TextUpToNul(const void* p, size_t size) {
  if (size == 0) return String();  // an empty stream has no memory at all
  const char* s = static_cast<const char*>(p);
  const void* nul = std::memchr(s, 0, size);
  return String(s, nul ? static_cast<const char*>(nul) - s : size);
}

}  // namespace

String TFieldBufferItem::AsText() const {
  if (IsBlob()) {
    const void* value = ValueRef();
    return value ? TextUpToNul(value, size_t(ValueSize())) : String();
  }
  if (buffer_ == nullptr) return String();
  try {
    switch (fieldType_) {
      case 1: case 23: case 24: case 35: return TextUpToNul(buffer_, size_t(std::max(fieldSize_, 0)));
      case 2: return IntToStr(ValueAt<int16_t>(buffer_));
      case 3: case 14: return IntToStr(ValueAt<int32_t>(buffer_));
      case 4: return IntToStr(ValueAt<uint16_t>(buffer_));
      case 5: return ValueAt<int16_t>(buffer_) != 0 ? "True" : "False";
      case 6: case 7: return FloatToStr(ValueAt<double>(buffer_));
      case 9: return DateToStr(TimeStampToDateTime(TTimeStamp{0, ValueAt<int32_t>(buffer_)}));
      case 10: return TimeToStr(TimeStampToDateTime(TTimeStamp{ValueAt<int32_t>(buffer_), DateDelta}));
      case 11: return DateTimeToStr(TimeStampToDateTime(MSecsToTimeStamp(ValueAt<double>(buffer_))));
      case 25: return IntToStr(ValueAt<int64_t>(buffer_));
      default: return String();
    }
  } catch (const std::exception&) {
    return String();
  }
}

TFieldBufferItem& TFieldBuffers::Add(void* valueRef, uint8_t fieldType, int32_t fieldSize) {
  void* value = valueRef;
  if (TFieldBufferItem::IsBlobType(fieldType)) std::memcpy(&value, valueRef, sizeof value);
  items_.push_back(std::make_unique<TFieldBufferItem>(value, fieldType, fieldSize));
  return *items_.back();
}
