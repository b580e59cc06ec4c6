// Class references and the streaming class registry.
//
// A class reference is a pointer to the one static TClassInfo of a class: its
// name, its parent's descriptor, its published properties and, for
// components, how to make one. Form streams find classes here by name, the
// libraries' registries hold TClass values, and code that needs a "virtual
// class operation" reads it from the descriptor.
//
// Published properties are described by TPropInfo: a name, a kind, accessors
// and the rules that decide whether the writer stores the value (a default,
// a stored function). The form-stream reader and writer (FormStreams.h) walk
// these tables; nothing else in the framework reflects on objects.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "Components.h"

class TFiler;

enum class TPropKind {
  Integer,    // 32-bit signed
  Int64,
  Boolean,
  Enum,       // ordinal, written as the identifier Names[value]
  Set,        // bit i is element Names[i], written as a list of identifiers
  Float,
  String,
  Object,     // an owned persistent sub-object (or a collection), read in place
  Component,  // a reference to another component, written by name
};

// Ordinal kinds travel as int64_t, Float as double, String as String, Object
// and Component as TPersistent*.
using TPropValue = std::variant<int64_t, double, String, TPersistent*>;

struct TPropInfo {
  String Name;
  TPropKind Kind = TPropKind::Integer;
  // Identifier names of an Enum or Set (index = ordinal or bit number).
  std::vector<String> Names;
  std::function<TPropValue(const TPersistent&)> Get;
  // Empty for an Object property: the sub-object is read in place.
  std::function<void(TPersistent&, const TPropValue&)> Set;
  // An ordinal equal to its default is not written; without a default it
  // always is. Strings are written when not empty, floats when not zero.
  std::optional<int64_t> Default;
  // Empty: stored whenever the value rules above say so.
  std::function<bool(const TPersistent&)> Stored;
};

class TClassInfo;
using TClass = const TClassInfo*;

class TClassInfo {
 public:
  using DefinePropertiesProc = std::function<void(TPersistent& instance, TFiler& filer)>;

  TClassInfo(String name, TClass parent, std::vector<TPropInfo> properties = {}, TComponentFactory create = {},
             DefinePropertiesProc defineProperties = {});
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& ClassName() const { return name_; }
  TClass ClassParent() const { return parent_; }
  // True for this class and every descendant of it.
  bool InheritsFrom(TClass ancestor) const;
  const std::vector<TPropInfo>& Properties() const { return properties_; }
  // Searches this class, then its ancestors; names compare without case.
  const TPropInfo* FindProperty(std::string_view name) const;
  // Every published property, the root class's first.
  std::vector<const TPropInfo*> AllProperties() const;
  // The nearest factory up the chain; empty for a class that is no component.
  TComponentFactory ComponentFactory() const;
  // Runs the DefineProperties of each class in the chain, the root's first.
  void DefineProperties(TPersistent& instance, TFiler& filer) const;

 private:
  String name_;
  TClass parent_;
  std::vector<TPropInfo> properties_;
  TComponentFactory create_;
  DefinePropertiesProc defineProperties_;
};

// The descriptors of the framework's own streaming bases.
TClass TPersistentClass();
TClass TComponentClass();
TClass TCollectionClass();
TClass TCollectionItemClass();

// Registers a class for streaming. Registering the same descriptor again does
// nothing; another class of the same name raises EComponentError "Class %s
// already registered".
void RegisterPersistentClass(TClass cls);
void RegisterPersistentClasses(std::initializer_list<TClass> classes);
void UnregisterPersistentClass(TClass cls);
// Case-insensitive; nullptr when absent.
TClass FindClass(std::string_view name);
// Raises EClassNotFound "Class %s not found".
TClass GetClass(std::string_view name);
// The registered class of an object, found by its ClassName; nullptr when it
// is not registered.
TClass ClassOf(const TObject& object);

QE_DECLARE_EXCEPTION(EClassNotFound, EComponentError);

// Class groups: classes that descend from a group's root belong to its group;
// GroupDescendentsWith puts a class and its descendants in the group of
// another class (the skinned components stream like controls this way).
void StartClassGroup(TClass root);
void GroupDescendentsWith(TClass cls, TClass groupOf);
// The root of the group of cls; nullptr when it belongs to none.
TClass ClassGroupOf(TClass cls);

// --- Property descriptor helpers --------------------------------------------------
// Build TPropInfo rows from typed accessors, so that class tables read as a
// list of names and members.

template <class C>
TPropInfo OrdinalProp(String name, TPropKind kind, std::function<int64_t(const C&)> get,
                      std::function<void(C&, int64_t)> set, std::optional<int64_t> def = std::nullopt,
                      std::vector<String> names = {}) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = kind;
  p.Names = std::move(names);
  p.Get = [get](const TPersistent& o) { return TPropValue(get(static_cast<const C&>(o))); };
  p.Set = [set](TPersistent& o, const TPropValue& v) { set(static_cast<C&>(o), std::get<int64_t>(v)); };
  p.Default = def;
  return p;
}

template <class C>
TPropInfo IntegerProp(String name, std::function<int64_t(const C&)> get, std::function<void(C&, int64_t)> set,
                      std::optional<int64_t> def = std::nullopt) {
  return OrdinalProp<C>(std::move(name), TPropKind::Integer, std::move(get), std::move(set), def);
}

template <class C>
TPropInfo BooleanProp(String name, std::function<bool(const C&)> get, std::function<void(C&, bool)> set,
                      std::optional<bool> def = std::nullopt) {
  return OrdinalProp<C>(
      std::move(name), TPropKind::Boolean, [get](const C& o) { return int64_t(get(o)); },
      [set](C& o, int64_t v) { set(o, v != 0); }, def ? std::optional<int64_t>(*def) : std::nullopt);
}

template <class C>
TPropInfo FloatProp(String name, std::function<double(const C&)> get, std::function<void(C&, double)> set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TPropKind::Float;
  p.Get = [get](const TPersistent& o) { return TPropValue(get(static_cast<const C&>(o))); };
  p.Set = [set](TPersistent& o, const TPropValue& v) { set(static_cast<C&>(o), std::get<double>(v)); };
  return p;
}

template <class C>
TPropInfo StringProp(String name, std::function<String(const C&)> get, std::function<void(C&, const String&)> set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TPropKind::String;
  p.Get = [get](const TPersistent& o) { return TPropValue(get(static_cast<const C&>(o))); };
  p.Set = [set](TPersistent& o, const TPropValue& v) { set(static_cast<C&>(o), std::get<String>(v)); };
  return p;
}

// An owned sub-object (a TPersistent or a TCollection) of the instance.
template <class C>
TPropInfo ObjectProp(String name, std::function<TPersistent*(const C&)> get) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TPropKind::Object;
  p.Get = [get](const TPersistent& o) { return TPropValue(get(static_cast<const C&>(o))); };
  return p;
}

template <class C>
TPropInfo ComponentProp(String name, std::function<TComponent*(const C&)> get,
                        std::function<void(C&, TComponent*)> set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TPropKind::Component;
  p.Get = [get](const TPersistent& o) { return TPropValue(static_cast<TPersistent*>(get(static_cast<const C&>(o)))); };
  p.Set = [set](TPersistent& o, const TPropValue& v) {
    set(static_cast<C&>(o), dynamic_cast<TComponent*>(std::get<TPersistent*>(v)));
  };
  return p;
}
