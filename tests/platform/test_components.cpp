// Ownership, names, free notifications, loading and the class registry.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Components.h"

namespace {

// Records its own death and the notifications it receives.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::vector<String>* log, String id) : TComponent(owner), log_(log), id_(std::move(id)) {}
  ~Probe() override { log_->push_back("free " + id_); }
  const char* ClassName() const override { return "Probe"; }
  TComponent* watched = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == watched) {
      watched = nullptr;
      log_->push_back(id_ + " saw removal");
    }
  }
  void Loaded() override {
    TComponent::Loaded();
    log_->push_back("loaded " + id_);
  }

 private:
  std::vector<String>* log_;
  String id_;
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<String> log;
  auto* owner = new Probe(nullptr, &log, "owner");
  new Probe(owner, &log, "a");
  auto* b = new Probe(owner, &log, "b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(b->Owner(), owner);
  EXPECT_EQ(b->ComponentIndex(), 1);
  delete owner;
  EXPECT_EQ(log, (std::vector<String>{"free owner", "free b", "free a"}));
}

TEST(Component, DeletingAnOwnedComponentLeavesItsOwner) {
  std::vector<String> log;
  Probe owner(nullptr, &log, "owner");
  auto* a = new Probe(&owner, &log, "a");
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Component, FreeNotificationsArriveOnBothSides) {
  std::vector<String> log;
  auto* watcher = new Probe(nullptr, &log, "watcher");
  auto* target = new Probe(nullptr, &log, "target");
  watcher->watched = target;
  target->FreeNotification(watcher);
  delete target;
  EXPECT_EQ(watcher->watched, nullptr);
  EXPECT_EQ(log, (std::vector<String>{"free target", "watcher saw removal"}));
  // A watcher that dies first is forgotten: no dangling call later.
  auto* target2 = new Probe(nullptr, &log, "t2");
  target2->FreeNotification(watcher);
  delete watcher;
  delete target2;
}

TEST(Component, SiblingsHearOfRemovalFromTheirOwner) {
  std::vector<String> log;
  Probe owner(nullptr, &log, "owner");
  auto* a = new Probe(&owner, &log, "a");
  auto* b = new Probe(&owner, &log, "b");
  a->watched = b;
  delete b;
  EXPECT_EQ(a->watched, nullptr);
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
  std::vector<String> log;
  Probe owner(nullptr, &log, "owner");
  auto* a = new Probe(&owner, &log, "a");
  auto* b = new Probe(&owner, &log, "b");
  a->SetName("Config_tbl");
  EXPECT_EQ(owner.FindComponent("CONFIG_TBL"), a);
  EXPECT_THROW(b->SetName("config_tbl"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("Societe_tbl");
  EXPECT_EQ(b->Name(), "Societe_tbl");
  b->SetTag(intptr_t(-1));
  EXPECT_EQ(b->Tag(), -1);
}

TEST(Component, LoadingBracketCallsLoadedOwnedFirst) {
  std::vector<String> log;
  Probe owner(nullptr, &log, "owner");
  auto* a = new Probe(&owner, &log, "a");
  owner.BeginLoading();
  EXPECT_TRUE(a->ComponentState() & csLoading);
  EXPECT_TRUE(owner.ComponentState() & csReading);
  owner.EndLoading();
  EXPECT_FALSE(a->IsLoading());
  EXPECT_FALSE(owner.IsLoading());
  EXPECT_EQ(log, (std::vector<String>{"loaded a", "loaded owner"}));
}

TEST(Component, ClassRegistryFindsByNameWithoutCase) {
  std::vector<String> log;
  RegisterComponentClass("TProbe", [&log](TComponent* owner) { return new Probe(owner, &log, "made"); });
  EXPECT_THROW(RegisterComponentClass("tprobe", nullptr), EComponentError);
  TComponent* made = GetComponentClass("TPROBE")(nullptr);
  EXPECT_STREQ(made->ClassName(), "Probe");
  delete made;
  UnregisterComponentClass("TProbe");
  EXPECT_FALSE(FindComponentClass("TProbe"));
  EXPECT_THROW(GetComponentClass("TProbe"), EComponentError);
}

TEST(Persistent, AssignWithoutSupportRaises) {
  TPersistent a, b;
  try {
    a.Assign(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TPersistent");
  }
}
