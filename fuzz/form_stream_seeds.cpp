// Writes the seed corpus of the form-stream fuzzer: the full test form and
// a few smaller ones.
//   form_stream_seeds DIR
#include <cstdio>

#include "tools/fixtures/FormStreamClasses.h"

using namespace form_stream_test;

namespace {

void Save(const String& dir, const char* name, Form& form) {
  TMemoryStream s;
  TWriter(s).WriteRootComponent(form);
  s.SaveToFile(dir + "/" + name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: form_stream_seeds DIR\n");
    return 2;
  }
  RegisterFormStreamTestClasses();
  Form full(nullptr);
  FillTestForm(full);
  Save(argv[1], "seed-full", full);
  Form empty(nullptr);
  Save(argv[1], "seed-empty", empty);
  Form small(nullptr);
  small.caption = "x";
  small.shape = shSquare;
  small.columns.Add();
  new Widget(&small);
  Save(argv[1], "seed-small", small);
  return 0;
}
