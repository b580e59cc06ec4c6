// The binary form stream: how a tree of components and their published
// properties is stored (form resources, packed pictures, image lists).
//
//   stream    = "TPF0" component
//   component = [0xF0|flags [child position]] class-name object-name
//               property* 0 component* 0
//   property  = name value
//   name      = length byte, that many bytes (class, object and property
//               names; a property of a sub-object is "Sub.Property")
//   value     = type byte (TValueType), then its data, little-endian
//
// The writer stores a published property only when its descriptor says so
// (a default, a stored function, an empty string or a zero float are left
// out) and appends what the class adds through DefineProperties. The reader
// is strict: every length is checked against what is left of the stream
// before anything is allocated, nesting is bounded, and anything it does not
// recognise (class, property, value type) raises EReadError. A failed read
// frees the components it created and leaves the root as it was apart from
// the properties already assigned.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "ClassRegistry.h"
#include "Streams.h"

class TCollection;
class TReader;
class TWriter;

enum TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

// Prefix flags of a component header.
enum : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

inline constexpr char FormStreamSignature[4] = {'T', 'P', 'F', '0'};

// What DefineProperties sees: the reader and the writer answer the same
// calls, so one function describes both directions.
class TFiler {
 public:
  using TReaderProc = std::function<void(TReader& reader)>;
  using TWriterProc = std::function<void(TWriter& writer)>;
  using TStreamProc = std::function<void(TStream& stream)>;

  explicit TFiler(TStream& stream) : stream_(stream) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  TStream& Stream() { return stream_; }
  // A property made of one or more values that read and write procs handle.
  // hasData false: the writer leaves it out.
  virtual void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                              bool hasData) = 0;
  // A property stored as one vaBinary block ("Data" of pictures and lists).
  virtual void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                                    bool hasData) = 0;

 protected:
  TStream& stream_;
};

class TReader : public TFiler {
 public:
  // Deepest nesting of components, sub-objects and collections.
  static constexpr int MaxDepth = 64;

  explicit TReader(TStream& stream) : TFiler(stream) {}

  // Reads "TPF0" and one component into root, whose class name must match
  // the stream's. Children are created from the class registry and owned by
  // the component they are nested in. The loading bracket surrounds the
  // whole read: every component has csLoading|csReading while it is read and
  // Loaded runs on each (children first) once all references are resolved.
  void ReadRootComponent(TComponent& root);
  // Called with each component created by the read, after its name is set
  // and before its properties are read (a windowed layer sets the parent).
  std::function<void(TComponent& child, TComponent& enclosing)> OnCreateComponent;

  // Values, for DefineProperties read procs.
  TValueType ReadValue();
  TValueType NextValue();
  // Raises EReadError "Invalid property value" when the next value has
  // another type.
  int32_t ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  double ReadFloat();
  String ReadString();
  String ReadIdent();
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList();
  // A set value: its element names, up to the empty one that ends it.
  std::vector<String> ReadSet();
  void ReadCollection(TCollection& collection);

  void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write, bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                            bool hasData) override;

 private:
  struct Fixup {
    TPersistent* instance;
    const TPropInfo* prop;
    String name;
  };

  uint8_t ReadByte();
  template <int N>
  std::array<uint8_t, N> ReadBytes() {
    std::array<uint8_t, N> bytes;
    stream_.ReadBuffer(bytes.data(), N);
    return bytes;
  }
  String ReadShortString();
  // Raises EReadError unless count bytes are left.
  void CheckRemaining(int64_t count);
  void ReadComponentHeader(String& className, String& name);
  TComponent* ReadComponent(TComponent& owner);
  void ReadComponentBody(TComponent& component);
  void ReadProperty(TPersistent& instance);
  void ReadPropValue(TPersistent& instance, const TPropInfo& prop);
  int64_t ReadSetValue(const TPropInfo& prop);
  void ResolveFixups(TComponent& root);
  void Enter();
  void Leave() { --depth_; }

  int depth_ = 0;
  std::vector<Fixup> fixups_;
  // The DefineProperties name being looked for, and whether a proc took it.
  String definedName_;
  bool definedHandled_ = false;
};

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream) : TFiler(stream) {}

  // Writes "TPF0" and root with its owned components, recursively. Raises
  // EWriteError "Class %s is not registered" for an object whose class the
  // registry does not know.
  void WriteRootComponent(TComponent& root);

  // Values, for DefineProperties write procs. Integers take the smallest
  // form that holds them.
  void WriteValue(TValueType type);
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value);
  void WriteFloat(double value);
  void WriteString(std::string_view value);
  void WriteIdent(std::string_view ident);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteCollection(TCollection& collection);

  void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write, bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                            bool hasData) override;

 private:
  void WriteByte(uint8_t b);
  void WriteShortString(std::string_view s);
  void WriteComponent(TComponent& component);
  void WriteProperties(TPersistent& instance, const String& prefix);
  void WriteProperty(TPersistent& instance, const TPropInfo& prop, const String& prefix);

  String prefix_;
};

// The stored forms of floating-point values: the 10-byte extended format of
// vaExtended, converted exactly to and from double (out-of-range values
// become infinities, values below double's range zero).
void DoubleToExtended(double value, uint8_t out[10]);
double ExtendedToDouble(const uint8_t in[10]);
