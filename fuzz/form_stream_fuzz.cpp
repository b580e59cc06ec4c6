// Reads arbitrary bytes as a form stream into a test form whose classes have
// a property of every kind, a sub-object, a collection, component references
// and a binary property. A read may only fail with EReadError, and must leave
// the form without the components it made. A stream that reads must write
// back into bytes that read and write again to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "tools/fixtures/FormStreamClasses.h"

using namespace form_stream_test;

namespace {

std::vector<uint8_t> Write(Form& form) {
  TMemoryStream s;
  TWriter(s).WriteRootComponent(form);
  return s.Bytes();
}

bool Read(const uint8_t* data, size_t size, Form& form) {
  TMemoryStream s;
  s.WriteBuffer(data, int64_t(size));
  s.SetPosition(0);
  try {
    TReader(s).ReadRootComponent(form);
    return true;
  } catch (const EReadError&) {
    if (form.ComponentCount() != 0) std::abort();
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterFormStreamTestClasses(), true);
  (void)registered;
  Form form(nullptr);
  if (!Read(data, size, form)) return 0;
  std::vector<uint8_t> first;
  try {
    first = Write(form);
  } catch (const EWriteError&) {
    return 0;  // a value the reader took that has no stored form (a name too long to write)
  }
  Form again(nullptr);
  if (!Read(first.data(), first.size(), again)) std::abort();
  if (Write(again) != first) std::abort();
  return 0;
}
