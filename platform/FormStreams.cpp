#include "FormStreams.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "Collections.h"

namespace {

[[noreturn]] void InvalidValue() { throw EReadError("Invalid property value"); }
[[noreturn]] void InvalidFormat() { throw EReadError("Invalid stream format"); }

bool IsIntegerType(TValueType t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }

bool FitsInt32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

int IndexOfName(const std::vector<String>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return int(i);
  return -1;
}

void LittleEndian(uint64_t v, uint8_t* out, int n) {
  for (int i = 0; i < n; ++i) out[i] = uint8_t(v >> (8 * i));
}

uint64_t FromLittleEndian(const uint8_t* in, int n) {
  uint64_t v = 0;
  for (int i = 0; i < n; ++i) v |= uint64_t(in[i]) << (8 * i);
  return v;
}

}  // namespace

// --- Extended floats ------------------------------------------------------------
// Sign bit and 15-bit exponent (bias 16383) in the top two bytes, then a
// 64-bit mantissa whose top bit is the explicit integer bit.

void DoubleToExtended(double value, uint8_t out[10]) {
  uint16_t signExp = std::signbit(value) ? 0x8000 : 0;
  uint64_t mantissa = 0;
  if (std::isnan(value)) {
    signExp |= 0x7FFF;
    mantissa = 0xC000000000000000ull;
  } else if (std::isinf(value)) {
    signExp |= 0x7FFF;
    mantissa = 0x8000000000000000ull;
  } else if (value != 0) {
    int e = 0;
    double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
    mantissa = uint64_t(std::ldexp(m, 64));       // exact: 53 significant bits
    signExp |= uint16_t(e - 1 + 16383);
  }
  LittleEndian(mantissa, out, 8);
  LittleEndian(signExp, out + 8, 2);
}

double ExtendedToDouble(const uint8_t in[10]) {
  const uint64_t mantissa = FromLittleEndian(in, 8);
  const uint16_t signExp = uint16_t(FromLittleEndian(in + 8, 2));
  const bool negative = (signExp & 0x8000) != 0;
  const int exponent = signExp & 0x7FFF;
  double v;
  if (exponent == 0x7FFF)
    v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
  else
    v = std::ldexp(double(mantissa), exponent - 16383 - 63);
  return negative ? -v : v;
}

// --- Reader ---------------------------------------------------------------------

uint8_t TReader::ReadByte() { return stream_.ReadValue<uint8_t>(); }

void TReader::CheckRemaining(int64_t count) {
  if (count < 0 || count > stream_.Size() - stream_.Position()) throw EReadError("Stream read error");
}

String TReader::ReadShortString() {
  String s(ReadByte(), '\0');
  if (!s.empty()) stream_.ReadBuffer(s.data(), int64_t(s.size()));
  return s;
}

void TReader::Enter() {
  if (++depth_ > MaxDepth) {
    --depth_;
    throw EReadError("Form stream nested too deeply");
  }
}

TValueType TReader::ReadValue() { return TValueType(ReadByte()); }

TValueType TReader::NextValue() {
  TValueType t = ReadValue();
  stream_.Seek(-1, soCurrent);
  return t;
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) InvalidValue();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) InvalidValue();
}

int64_t TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8: return stream_.ReadValue<int8_t>();
    case vaInt16: return int16_t(FromLittleEndian(ReadBytes<2>().data(), 2));
    case vaInt32: return int32_t(FromLittleEndian(ReadBytes<4>().data(), 4));
    case vaInt64: return int64_t(FromLittleEndian(ReadBytes<8>().data(), 8));
    default: InvalidValue();
  }
}

int32_t TReader::ReadInteger() {
  int64_t v = ReadInt64();
  if (!FitsInt32(v)) InvalidValue();
  return int32_t(v);
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: InvalidValue();
  }
}

double TReader::ReadFloat() {
  if (IsIntegerType(NextValue())) return double(ReadInt64());
  switch (ReadValue()) {
    case vaExtended: return ExtendedToDouble(ReadBytes<10>().data());
    case vaSingle: {
      uint32_t bits = uint32_t(FromLittleEndian(ReadBytes<4>().data(), 4));
      float f;
      std::memcpy(&f, &bits, 4);
      return f;
    }
    case vaDouble:
    case vaDate: {
      uint64_t bits = FromLittleEndian(ReadBytes<8>().data(), 8);
      double d;
      std::memcpy(&d, &bits, 8);
      return d;
    }
    case vaCurrency: return double(int64_t(FromLittleEndian(ReadBytes<8>().data(), 8))) / 10000.0;
    default: InvalidValue();
  }
}

String TReader::ReadString() {
  const TValueType type = ReadValue();
  switch (type) {
    case vaString: return ReadShortString();
    case vaLString:
    case vaUTF8String: {
      const int32_t length = int32_t(FromLittleEndian(ReadBytes<4>().data(), 4));
      CheckRemaining(length);
      String s(size_t(length), '\0');
      if (length) stream_.ReadBuffer(s.data(), length);
      return type == vaUTF8String ? Utf8ToAnsi(s) : s;
    }
    case vaWString: {
      const int32_t count = int32_t(FromLittleEndian(ReadBytes<4>().data(), 4));
      if (count < 0 || count > INT32_MAX / 2) InvalidValue();
      CheckRemaining(int64_t(count) * 2);
      WideString w(size_t(count), u'\0');
      for (char16_t& c : w) c = char16_t(FromLittleEndian(ReadBytes<2>().data(), 2));
      return WideToAnsi(w);
    }
    default: InvalidValue();
  }
}

String TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadShortString();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: InvalidValue();
  }
}

void TReader::ReadCollection(TCollection& collection) {
  if (ReadValue() != vaCollection) InvalidValue();
  Enter();
  collection.BeginUpdate();
  try {
    collection.Clear();
    while (!EndOfList()) {
      // An item may be preceded by its index; items are appended in order.
      if (IsIntegerType(NextValue())) ReadInt64();
      ReadListBegin();
      TCollectionItem* item = collection.Add();
      while (!EndOfList()) ReadProperty(*item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection.EndUpdate();
    Leave();
    throw;
  }
  collection.EndUpdate();
  Leave();
}

std::vector<String> TReader::ReadSet() {
  if (ReadValue() != vaSet) InvalidValue();
  std::vector<String> names;
  for (;;) {
    String name = ReadShortString();
    if (name.empty()) return names;
    names.push_back(std::move(name));
  }
}

int64_t TReader::ReadSetValue(const TPropInfo& prop) {
  int64_t bits = 0;
  for (const String& name : ReadSet()) {
    int index = IndexOfName(prop.Names, name);
    if (index < 0 || index >= 64) InvalidValue();
    bits |= int64_t(1) << index;
  }
  return bits;
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& prop) {
  switch (prop.Kind) {
    case TPropKind::Integer: prop.Set(instance, int64_t(ReadInteger())); break;
    case TPropKind::Int64: prop.Set(instance, ReadInt64()); break;
    case TPropKind::Boolean: prop.Set(instance, int64_t(ReadBoolean())); break;
    case TPropKind::Enum: {
      if (NextValue() != vaIdent) InvalidValue();
      int index = IndexOfName(prop.Names, ReadIdent());
      if (index < 0) InvalidValue();
      prop.Set(instance, int64_t(index));
      break;
    }
    case TPropKind::Set: prop.Set(instance, ReadSetValue(prop)); break;
    case TPropKind::Float: prop.Set(instance, ReadFloat()); break;
    case TPropKind::String: prop.Set(instance, ReadString()); break;
    case TPropKind::Object: {
      auto* collection = dynamic_cast<TCollection*>(std::get<TPersistent*>(prop.Get(instance)));
      if (!collection) InvalidValue();
      ReadCollection(*collection);
      break;
    }
    case TPropKind::Component: {
      if (NextValue() == vaNil) {
        ReadValue();
        prop.Set(instance, static_cast<TPersistent*>(nullptr));
      } else {
        if (NextValue() != vaIdent) InvalidValue();
        String name = ReadIdent();
        if (name.empty()) InvalidValue();  // only unnamed components would match
        fixups_.push_back({&instance, &prop, std::move(name)});
      }
      break;
    }
  }
}

void TReader::ReadProperty(TPersistent& instance) {
  const String path = ReadShortString();
  TPersistent* target = &instance;
  size_t start = 0;
  int nested = 0;
  try {
    // Walk "Sub.Sub.Name" down the sub-objects.
    for (size_t dot; (dot = path.find('.', start)) != String::npos; start = dot + 1) {
      TClass cls = ClassOf(*target);
      const TPropInfo* sub = cls ? cls->FindProperty(std::string_view(path).substr(start, dot - start)) : nullptr;
      if (!sub || sub->Kind != TPropKind::Object) throw EReadError("Property %s does not exist", {path});
      target = std::get<TPersistent*>(sub->Get(*target));
      if (!target) throw EReadError("Property %s does not exist", {path});
      Enter();
      ++nested;
    }
    const String name = path.substr(start);
    TClass cls = ClassOf(*target);
    if (!cls) throw EReadError("Class %s not found", {target->ClassName()});
    if (const TPropInfo* prop = cls->FindProperty(name)) {
      ReadPropValue(*target, *prop);
    } else {
      definedName_ = name;
      definedHandled_ = false;
      cls->DefineProperties(*target, *this);
      if (!definedHandled_) throw EReadError("Property %s does not exist", {path});
    }
  } catch (...) {
    depth_ -= nested;
    throw;
  }
  depth_ -= nested;
}

void TReader::DefineProperty(const String& name, const TReaderProc& read, const TWriterProc&, bool) {
  if (definedHandled_ || !read || !SameText(name, definedName_)) return;
  definedHandled_ = true;
  read(*this);
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc&, bool) {
  if (definedHandled_ || !read || !SameText(name, definedName_)) return;
  definedHandled_ = true;
  if (ReadValue() != vaBinary) InvalidValue();
  const int32_t size = int32_t(FromLittleEndian(ReadBytes<4>().data(), 4));
  CheckRemaining(size);
  TMemoryStream data;
  data.SetSize(size);
  if (size) stream_.ReadBuffer(data.Memory(), size);
  data.SetPosition(0);
  read(data);
}

void TReader::ReadComponentHeader(String& className, String& name) {
  uint8_t first = ReadByte();
  if ((first & 0xF0) == 0xF0) {
    if (first & ffChildPos) ReadInteger();
  } else {
    stream_.Seek(-1, soCurrent);
  }
  className = ReadShortString();
  name = ReadShortString();
  if (className.empty()) InvalidFormat();
}

void TReader::ReadComponentBody(TComponent& component) {
  while (!EndOfList()) ReadProperty(component);
  ReadValue();
  while (!EndOfList()) ReadComponent(component);
  ReadValue();
}

TComponent* TReader::ReadComponent(TComponent& owner) {
  Enter();
  String className, name;
  ReadComponentHeader(className, name);
  TClass cls = FindClass(className);
  TComponentFactory create = cls ? cls->ComponentFactory() : TComponentFactory();
  if (!create) throw EReadError("Class %s not found", {className});
  TComponent* component = create(&owner);
  try {
    if (!component) throw EReadError("Class %s not found", {className});
    if (component->Owner() != &owner) owner.InsertComponent(component);
    component->BeginLoading();
    component->SetName(name);
    if (OnCreateComponent) OnCreateComponent(*component, owner);
    ReadComponentBody(*component);
  } catch (...) {
    delete component;
    Leave();
    throw;
  }
  Leave();
  return component;
}

void TReader::ResolveFixups(TComponent& root) {
  // Names are looked for in the whole tree that was read, nearest first.
  std::function<TComponent*(TComponent&, const String&)> find = [&](TComponent& c, const String& n) -> TComponent* {
    if (SameText(c.Name(), n)) return &c;
    for (int i = 0; i < c.ComponentCount(); ++i)
      if (TComponent* hit = find(*c.Components(i), n)) return hit;
    return nullptr;
  };
  for (const Fixup& f : fixups_) {
    TComponent* target = find(root, f.name);
    if (!target) throw EReadError("Component %s not found", {f.name});
    f.prop->Set(*f.instance, static_cast<TPersistent*>(target));
  }
  fixups_.clear();
}

void TReader::ReadRootComponent(TComponent& root) {
  char signature[4];
  stream_.ReadBuffer(signature, 4);
  if (std::memcmp(signature, FormStreamSignature, 4) != 0) InvalidFormat();
  const int existing = root.ComponentCount();
  auto undo = [&] {
    fixups_.clear();
    while (root.ComponentCount() > existing) delete root.Components(root.ComponentCount() - 1);
    root.CancelLoading();
  };
  root.BeginLoading();
  try {
    String className, name;
    ReadComponentHeader(className, name);
    if (!SameText(className, root.ClassName())) InvalidFormat();
    if (!name.empty()) root.SetName(name);
    ReadComponentBody(root);
    ResolveFixups(root);
  } catch (const EReadError&) {
    undo();
    throw;
  } catch (const Exception& e) {
    // A setter's own failure (a bad name, a value out of range) is still a
    // failure to read this stream.
    undo();
    throw EReadError(e.Message());
  }
  root.EndLoading();
}

// --- Writer ---------------------------------------------------------------------

void TWriter::WriteByte(uint8_t b) { stream_.WriteBuffer(&b, 1); }

void TWriter::WriteValue(TValueType type) { WriteByte(type); }

void TWriter::WriteShortString(std::string_view s) {
  if (s.size() > 255) throw EWriteError("Name %s is too long", {s});
  WriteByte(uint8_t(s.size()));
  stream_.WriteBuffer(s.data(), int64_t(s.size()));
}

void TWriter::WriteInteger(int64_t value) {
  uint8_t bytes[8];
  int n;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValue(vaInt8);
    n = 1;
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValue(vaInt16);
    n = 2;
  } else if (FitsInt32(value)) {
    WriteValue(vaInt32);
    n = 4;
  } else {
    WriteValue(vaInt64);
    n = 8;
  }
  LittleEndian(uint64_t(value), bytes, n);
  stream_.WriteBuffer(bytes, n);
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteFloat(double value) {
  uint8_t bytes[10];
  DoubleToExtended(value, bytes);
  WriteValue(vaExtended);
  stream_.WriteBuffer(bytes, 10);
}

void TWriter::WriteString(std::string_view value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteShortString(value);
    return;
  }
  if (value.size() > size_t(INT32_MAX)) throw EWriteError("String too long");
  uint8_t length[4];
  LittleEndian(value.size(), length, 4);
  WriteValue(vaLString);
  stream_.WriteBuffer(length, 4);
  stream_.WriteBuffer(value.data(), int64_t(value.size()));
}

void TWriter::WriteIdent(std::string_view ident) {
  WriteValue(vaIdent);
  WriteShortString(ident);
}

void TWriter::WriteCollection(TCollection& collection) {
  WriteValue(vaCollection);
  for (int i = 0; i < collection.Count(); ++i) {
    WriteListBegin();
    WriteProperties(*collection.Items(i), "");
    WriteListEnd();
  }
  WriteListEnd();
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& write, bool hasData) {
  if (!hasData || !write) return;
  WriteShortString(prefix_ + name);
  write(*this);
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&, const TStreamProc& write, bool hasData) {
  if (!hasData || !write) return;
  TMemoryStream data;
  write(data);
  if (data.Size() > INT32_MAX) throw EWriteError("Binary property %s is too large", {name});
  WriteShortString(prefix_ + name);
  WriteValue(vaBinary);
  uint8_t size[4];
  LittleEndian(uint64_t(data.Size()), size, 4);
  stream_.WriteBuffer(size, 4);
  stream_.WriteBuffer(data.Memory(), data.Size());
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& prop, const String& prefix) {
  if (prop.Stored && !prop.Stored(instance)) return;
  const TPropValue value = prop.Get(instance);
  const String name = prefix + prop.Name;
  switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
    case TPropKind::Boolean:
    case TPropKind::Enum:
    case TPropKind::Set: {
      const int64_t v = std::get<int64_t>(value);
      if (prop.Default && *prop.Default == v) return;
      WriteShortString(name);
      if (prop.Kind == TPropKind::Boolean) {
        WriteBoolean(v != 0);
      } else if (prop.Kind == TPropKind::Enum) {
        if (v < 0 || size_t(v) >= prop.Names.size()) throw EWriteError("Invalid property value");
        WriteIdent(prop.Names[size_t(v)]);
      } else if (prop.Kind == TPropKind::Set) {
        WriteValue(vaSet);
        for (size_t bit = 0; bit < prop.Names.size() && bit < 64; ++bit)
          if (v & (int64_t(1) << bit)) WriteShortString(prop.Names[bit]);
        WriteShortString("");
      } else {
        WriteInteger(v);
      }
      return;
    }
    case TPropKind::Float: {
      const double v = std::get<double>(value);
      if (v == 0) return;
      WriteShortString(name);
      WriteFloat(v);
      return;
    }
    case TPropKind::String: {
      const String& v = std::get<String>(value);
      if (v.empty()) return;
      WriteShortString(name);
      WriteString(v);
      return;
    }
    case TPropKind::Object: {
      TPersistent* sub = std::get<TPersistent*>(value);
      if (!sub) return;
      if (auto* collection = dynamic_cast<TCollection*>(sub)) {
        if (collection->Count() == 0) return;
        WriteShortString(name);
        WriteCollection(*collection);
      } else {
        WriteProperties(*sub, name + ".");
      }
      return;
    }
    case TPropKind::Component: {
      auto* target = dynamic_cast<TComponent*>(std::get<TPersistent*>(value));
      if (!target) return;
      if (target->Name().empty()) throw EWriteError("A reference to a component without a name cannot be written");
      WriteShortString(name);
      WriteIdent(target->Name());
      return;
    }
  }
}

void TWriter::WriteProperties(TPersistent& instance, const String& prefix) {
  TClass cls = ClassOf(instance);
  if (!cls) throw EWriteError("Class %s is not registered", {instance.ClassName()});
  for (const TPropInfo* prop : cls->AllProperties()) WriteProperty(instance, *prop, prefix);
  const String saved = prefix_;
  prefix_ = prefix;
  try {
    cls->DefineProperties(instance, *this);
  } catch (...) {
    prefix_ = saved;
    throw;
  }
  prefix_ = saved;
}

void TWriter::WriteComponent(TComponent& component) {
  WriteShortString(component.ClassName());
  WriteShortString(component.Name());
  WriteProperties(component, "");
  WriteListEnd();
  for (int i = 0; i < component.ComponentCount(); ++i) WriteComponent(*component.Components(i));
  WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent& root) {
  stream_.WriteBuffer(FormStreamSignature, 4);
  WriteComponent(root);
}
