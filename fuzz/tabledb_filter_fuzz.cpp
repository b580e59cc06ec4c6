// Parses arbitrary bytes as a filter expression and evaluates it against a
// fixed record holding a field of every kind the language knows. Parsing may
// refuse the text and evaluation may raise a floating-point or conversion
// error; anything else (a crash, a sanitizer report, another exception) is a
// fault. The filter's direct checks must give what walking the tree gives,
// answer or error class alike. Short inputs are also split into a value and
// a pattern, and LIKE must agree with its step-by-step reference.
//
// The first byte chooses the filter options; the rest is the text.
#include <cstdint>
#include <cstdlib>

#include "tabledb/TomeDB.h"
#include "tools/fixtures/FilterRecord.h"

namespace {

TTestRecord& Record() {
  static TTestRecord* record = [] {
    SetClock([] { return EncodeDateTime(2026, 5, 1, 9, 30, 0, 0); });
    auto* r = new TTestRecord;
    r->AddField("Name", ftString, 20);
    r->AddField("Code", ftFixedChar, 4);
    r->AddField("Age", ftInteger);
    r->AddField("Qty", ftSmallint);
    r->AddField("W", ftWord);
    r->AddField("Id", ftAutoInc);
    r->AddField("Big", ftLargeint);
    r->AddField("Amount", ftFloat);
    r->AddField("Price", ftCurrency);
    r->AddField("Vip", ftBoolean);
    r->AddField("Since", ftDate);
    r->AddField("At", ftTime);
    r->AddField("Created", ftDateTime);
    r->AddField("Notes", ftMemo);
    r->AddField("Raw", ftBytes, 4);
    r->SetText("Name", "Smith");
    r->SetText("Code", "AB");
    r->Set<int32_t>("Age", 30);
    r->Set<int16_t>("Qty", -2);
    r->Set<uint16_t>("W", 65535);
    r->Set<int32_t>("Id", 7);
    r->Set<int64_t>("Big", INT64_MIN);
    r->Set<double>("Amount", 12.5);
    r->Set<double>("Price", -0.0);
    r->Set<uint16_t>("Vip", 0x0100);
    r->SetDate("Since", 2024, 1, 15);
    r->SetTime("At", 23, 59, 59, 999);
    r->SetDateTime("Created", EncodeDateTime(1, 1, 1, 0, 0, 0, 0));
    r->SetText("Notes", "call back: urgent");
    return r;
  }();
  return *record;
}

void CheckLike(const uint8_t* data, size_t size) {
  if (size > 24) return;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view value = text.substr(0, size / 2), pattern = text.substr(size / 2);
  for (bool fold : {false, true})
    if (MatchLikePattern(value, pattern, !fold) != ReferenceLike(value, pattern, fold)) std::abort();
}

// What an evaluation gave: 0 or 1, or the class of the error it raised.
enum { kFalse, kTrue, kMathError, kConvertError };
template <class F>
int Outcome(F evaluate) {
  try {
    return evaluate() ? kTrue : kFalse;
  } catch (const EMathError&) {
    return kMathError;
  } catch (const EConvertError&) {
    return kConvertError;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CheckLike(data + 1, size - 1);
  const TFilterOptions options = data[0] & (foCaseInsensitive | foNoPartialCompare);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  TFilterParser parser(Record());
  try {
    parser.Parse(text);
  } catch (const EDatabaseError&) {
    return 0;
  } catch (const EConvertError&) {
    return 0;
  }
  if (Outcome([&] { return parser.Evaluate(options); }) != Outcome([&] {
        TExprNode* root = parser.Nodes().Root;
        parser.Nodes().Calculate(root, options);
        return root->AsBoolean();
      }))
    std::abort();
  // The same parser starts afresh on the next text.
  parser.Parse("Age = 30");
  if (!parser.Evaluate(0)) std::abort();
  return 0;
}
