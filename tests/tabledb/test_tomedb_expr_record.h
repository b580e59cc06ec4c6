// Helpers shared by the filter engine's tests and fuzz target: a reference
// LIKE, a fixed clock for literals that depend on the current year, and a
// record of typed fields laid out like a data set's record buffer.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "platform/DateTime.h"
#include "tabledb/TomeDBExpr.h"

// LIKE as its steps describe it, trying one choice after another: the
// reference for the real matcher on small inputs.
inline bool ReferenceLike(std::string_view v, std::string_view p, bool fold, size_t i = 0, size_t j = 0) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
  auto same = [&](char a, char b) { return a == b || (fold && upper(a) == upper(b)); };
  if (j < p.size() && p[j] == '%' && j + 1 == p.size()) return true;
  if (i == v.size()) return j == p.size();
  if (j == p.size()) return false;
  if (p[j] == '%') return ReferenceLike(v, p, fold, i, j + 1) || ReferenceLike(v, p, fold, i + 1, j);
  if (p[j] == '_' || same(p[j], v[i])) return ReferenceLike(v, p, fold, i + 1, j + 1);
  return false;
}

// Fixes the clock for one scope and puts the previous one back.
class FixedClock {
 public:
  explicit FixedClock(TDateTime now) : previous_(SetClock([now] { return now; })) {}
  ~FixedClock() { SetClock(previous_); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

 private:
  TClock previous_;
};

class TTestRecord : public IFilterRecordSource {
 public:
  // Adds a field; string kinds take size + 1 bytes, blob kinds live apart.
  int AddField(const String& name, uint8_t type, int32_t size = 0) {
    Field field{name, type, int(buffer_.size()), 0, type >= ftBlob && type <= ftTypedBinary};
    const bool isText = type == ftString || type == ftFixedChar;
    field.width = field.isBlob ? 0 : isText ? size + 1 : int(ExprValueSize(type));
    fields_.push_back(field);
    buffer_.resize(buffer_.size() + size_t(field.width));
    blobs_.emplace_back();
    return int(fields_.size()) - 1;
  }

  template <class T>
  void Set(const String& name, T value) {
    const Field& field = fields_[size_t(Find(name))];
    std::memcpy(buffer_.data() + field.offset, &value, sizeof value);
  }
  void SetText(const String& name, std::string_view text) {
    const int index = Find(name);
    const Field& field = fields_[size_t(index)];
    if (field.isBlob) {
      blobs_[size_t(index)] = String(text);
      return;
    }
    std::memset(buffer_.data() + field.offset, 0, size_t(field.width));
    std::memcpy(buffer_.data() + field.offset, text.data(), std::min(text.size(), size_t(field.width - 1)));
  }
  void SetDate(const String& name, int year, int month, int day) {
    Set<int32_t>(name, DateTimeToTimeStamp(EncodeDate(year, month, day)).Date);
  }
  void SetTime(const String& name, int hour, int min, int sec, int msec) {
    Set<int32_t>(name, ((hour * 60 + min) * 60 + sec) * 1000 + msec);
  }
  void SetDateTime(const String& name, TDateTime value) {
    Set<double>(name, TimeStampToMSecs(DateTimeToTimeStamp(value)));
  }

  // Without an active record the data set has no buffer to offer.
  void SetActive(bool active) { active_ = active; }
  // Moves the record to a fresh buffer, as a data set does between records.
  void Relocate() {
    auto moved = std::vector<uint8_t>(buffer_);
    buffer_.swap(moved);
  }
  std::vector<uint8_t>& Buffer() { return buffer_; }

  TFilterField FieldByName(const String& name) override {
    const int index = Find(name);
    return TFilterField{index, fields_[size_t(index)].type, fields_[size_t(index)].isBlob};
  }
  std::span<const uint8_t> FieldData(int fieldIndex) override {
    if (!active_) return {};
    const Field& field = fields_[size_t(fieldIndex)];
    return {buffer_.data() + field.offset, size_t(field.width)};
  }
  String FieldText(int fieldIndex) override { return blobs_[size_t(fieldIndex)]; }

 private:
  struct Field {
    String name;
    uint8_t type;
    int offset;
    int width;
    bool isBlob;
  };

  int Find(const String& name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
      if (SameText(fields_[i].name, name)) return int(i);
    DatabaseErrorFmt("Field '%s' not found", {name});
  }

  std::vector<Field> fields_;
  std::vector<uint8_t> buffer_;
  std::vector<String> blobs_;
  bool active_ = true;
};
