#include "ClassRegistry.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "Collections.h"

TClassInfo::TClassInfo(String name, TClass parent, std::vector<TPropInfo> properties, TComponentFactory create,
                       DefinePropertiesProc defineProperties)
    : name_(std::move(name)),
      parent_(parent),
      properties_(std::move(properties)),
      create_(std::move(create)),
      defineProperties_(std::move(defineProperties)) {}

bool TClassInfo::InheritsFrom(TClass ancestor) const {
  for (TClass c = this; c; c = c->parent_)
    if (c == ancestor) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (TClass c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->properties_)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<TClass> chain;
  for (TClass c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->properties_) out.push_back(&p);
  return out;
}

TComponentFactory TClassInfo::ComponentFactory() const {
  for (TClass c = this; c; c = c->parent_)
    if (c->create_) return c->create_;
  return {};
}

void TClassInfo::DefineProperties(TPersistent& instance, TFiler& filer) const {
  if (parent_) parent_->DefineProperties(instance, filer);
  if (defineProperties_) defineProperties_(instance, filer);
}

TClass TPersistentClass() {
  static const TClassInfo info("TPersistent", nullptr);
  return &info;
}

TClass TComponentClass() {
  static const TClassInfo info(
      "TComponent", TPersistentClass(),
      {IntegerProp<TComponent>(
          "Tag", [](const TComponent& c) { return int64_t(c.Tag()); },
          [](TComponent& c, int64_t v) { c.SetTag(intptr_t(v)); }, 0)});
  return &info;
}

TClass TCollectionClass() {
  static const TClassInfo info("TCollection", TPersistentClass());
  return &info;
}

TClass TCollectionItemClass() {
  static const TClassInfo info("TCollectionItem", TPersistentClass());
  return &info;
}

// --- Registry -------------------------------------------------------------------

namespace {

struct NoCaseLess {
  bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};

struct Registry {
  std::recursive_mutex lock;
  std::map<String, TClass, NoCaseLess> classes;
  // Descriptors made for RegisterComponentClass, which names only a factory.
  std::map<String, std::unique_ptr<TClassInfo>, NoCaseLess> made;
  // Group roots, and the classes grouped with another class's group.
  std::vector<TClass> groups;
  std::vector<std::pair<TClass, TClass>> groupedWith;
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

void RegisterLocked(Registry& r, TClass cls) {
  auto [it, added] = r.classes.emplace(cls->ClassName(), cls);
  if (!added && it->second != cls) throw EComponentError("Class %s already registered", {cls->ClassName()});
}

}  // namespace

void RegisterPersistentClass(TClass cls) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  RegisterLocked(r, cls);
}

void RegisterPersistentClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterPersistentClass(c);
}

void UnregisterPersistentClass(TClass cls) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = r.classes.find(cls->ClassName());
  if (it != r.classes.end() && it->second == cls) r.classes.erase(it);
}

TClass FindClass(std::string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = r.classes.find(String(name));
  return it == r.classes.end() ? nullptr : it->second;
}

TClass GetClass(std::string_view name) {
  TClass c = FindClass(name);
  if (!c) throw EClassNotFound("Class %s not found", {name});
  return c;
}

TClass ClassOf(const TObject& object) {
  TClass c = FindClass(object.ClassName());
  return c && c->ClassName() == object.ClassName() ? c : nullptr;
}

void StartClassGroup(TClass root) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (std::find(r.groups.begin(), r.groups.end(), root) == r.groups.end()) r.groups.push_back(root);
}

void GroupDescendentsWith(TClass cls, TClass groupOf) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.groupedWith.emplace_back(cls, groupOf);
}

TClass ClassGroupOf(TClass cls) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  // The nearest ancestor that is a group root or grouped with one decides.
  for (TClass c = cls; c; c = c->ClassParent()) {
    if (std::find(r.groups.begin(), r.groups.end(), c) != r.groups.end()) return c;
    for (auto& [member, of] : r.groupedWith)
      if (member == c) return ClassGroupOf(of);
  }
  return nullptr;
}

// --- Component classes by factory ------------------------------------------------

void RegisterComponentClass(const String& className, TComponentFactory factory) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (r.classes.count(className)) throw EComponentError("Class %s already registered", {className});
  auto info = std::make_unique<TClassInfo>(className, TComponentClass(), std::vector<TPropInfo>{}, std::move(factory));
  RegisterLocked(r, info.get());
  r.made[className] = std::move(info);
}

void UnregisterComponentClass(const String& className) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.classes.erase(className);
  r.made.erase(className);
}

TComponentFactory FindComponentClass(std::string_view className) {
  TClass c = FindClass(className);
  return c ? c->ComponentFactory() : TComponentFactory();
}

TComponentFactory GetComponentClass(std::string_view className) {
  TComponentFactory f = FindComponentClass(className);
  if (!f) throw EComponentError("Class %s not found", {className});
  return f;
}
