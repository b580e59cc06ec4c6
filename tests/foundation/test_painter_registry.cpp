// The painter registry: name order and uniqueness without regard to case,
// lookups, who owns a record's data (also when a registration is refused),
// and observers that leave the list, or remove others, while being told.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/vxLookAndFeelPaintersRegistry.h"

namespace {

// Painters are compared by identity only: distinct addresses serve here.
const char kPainterTokens[4] = {};
TvxLookAndFeelPainterClass P(int i) { return reinterpret_cast<TvxLookAndFeelPainterClass>(&kPainterTokens[i]); }

// Data that reports its end.
class TrackedData : public TObject {
 public:
  explicit TrackedData(int& frees) : frees_(frees) {}
  ~TrackedData() override { ++frees_; }

 private:
  int& frees_;
};

class Observer : public IvxExtendedStylePaintersObserver {
 public:
  std::function<void(TvxLookAndFeelPainterClass)> onCall;
  std::vector<TvxLookAndFeelPainterClass> told;
  void HandlePainterRegistration(TvxLookAndFeelPainterClass painter) override {
    told.push_back(painter);
    if (onCall) onCall(painter);
  }
};

std::vector<String> Names(const TvxExtendedStylePainters& r) {
  std::vector<String> names;
  for (int i = 0; i < r.Count(); ++i) names.push_back(r.NameAt(i));
  return names;
}

TEST(PainterRegistry, KeepsNamesSortedAndUniqueWithoutRegardToCase) {
  // Before the registry: it frees the kept data, which counts here, as it ends.
  int refusedFrees = 0, keptFrees = 0;
  TvxExtendedStylePainters r;
  EXPECT_TRUE(r.RegisterPainter("Silver", P(0), nullptr));
  EXPECT_TRUE(r.RegisterPainter("Black", P(1), std::make_unique<TrackedData>(keptFrees)));
  EXPECT_TRUE(r.RegisterPainter("Caramel", P(2), nullptr));
  // Refused: the data given is freed once, by the registry, and nothing else
  // changes.
  EXPECT_FALSE(r.RegisterPainter("black", P(3), std::make_unique<TrackedData>(refusedFrees)));
  EXPECT_EQ(refusedFrees, 1);
  EXPECT_EQ(Names(r), (std::vector<String>{"Black", "Caramel", "Silver"}));

  TvxLookAndFeelPainterClass painter = P(3);
  EXPECT_TRUE(r.FindPainterByName("BLACK", painter));
  EXPECT_EQ(painter, P(1));
  EXPECT_FALSE(r.FindPainterByName("Blue", painter));
  EXPECT_EQ(painter, P(1)) << "left alone when not found";
  EXPECT_FALSE(r.FindPainterByName("", painter));

  TObject* data = nullptr;
  EXPECT_TRUE(r.FindDataOfPainter(P(1), data));
  EXPECT_NE(data, nullptr);
  EXPECT_FALSE(r.FindDataOfPainter(P(3), data));
  EXPECT_EQ(data, nullptr);

  String name = "stale";
  EXPECT_FALSE(r.FindNameOfPainter(P(3), name));
  EXPECT_EQ(name, "");
  // One painter under two names: the first in name order answers.
  EXPECT_TRUE(r.RegisterPainter("Aqua", P(0), nullptr));
  EXPECT_TRUE(r.FindNameOfPainter(P(0), name));
  EXPECT_EQ(name, "Aqua");

  TvxExtendedStylePainterInfo* info = nullptr;
  EXPECT_EQ(r.LocateByName("caramel", info), 2);
  EXPECT_EQ(info->Painter, P(2));
  EXPECT_EQ(r.LocateByName("Cara", info), -1);
  EXPECT_EQ(keptFrees, 0);
}

TEST(PainterRegistry, UnregisteringTellsObserversBeforeTheDataGoes) {
  int frees = 0;
  Observer observer;
  int freesWhenTold = -1;
  observer.onCall = [&](TvxLookAndFeelPainterClass) { freesWhenTold = frees; };
  {
    TvxExtendedStylePainters r;
    ASSERT_TRUE(r.RegisterPainter("UserSkin", P(2), std::make_unique<TrackedData>(frees)));
    r.AddObserver(&observer);
    r.AddObserver(&observer);
    EXPECT_TRUE(r.UnregisterPainter("userskin"));
    EXPECT_EQ(observer.told, std::vector<TvxLookAndFeelPainterClass>{P(2)}) << "listed once, told once";
    EXPECT_EQ(freesWhenTold, 0);
    EXPECT_EQ(frees, 1);
    EXPECT_FALSE(r.UnregisterPainter("UserSkin"));
    EXPECT_EQ(r.Count(), 0);

    // What is still registered when the registry goes is freed with it.
    ASSERT_TRUE(r.RegisterPainter("Black", P(1), std::make_unique<TrackedData>(frees)));
    r.RemoveObserver(&observer);
  }
  EXPECT_EQ(frees, 2);
}

// Observers are told last to first, from the list as it stood when the call
// began; one removed meanwhile is not called, and none is called twice.
TEST(PainterRegistry, ObserversThatLeaveDuringTheCallAreSafe) {
  struct Case {
    const char* what;
    // Index of the observer that acts, and whom it removes.
    int actor;
    std::vector<int> removes;
    std::vector<int> expectedCalls;  // in call order
  };
  const Case cases[] = {
      {"nobody leaves", -1, {}, {3, 2, 1, 0}},
      {"the last removes itself", 3, {3}, {3, 2, 1, 0}},
      {"the last removes the next", 3, {2}, {3, 1, 0}},
      {"one removes everybody", 2, {0, 1, 2, 3}, {3, 2}},
      {"the first removes one already told", 0, {3}, {3, 2, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TvxExtendedStylePainters r;
    Observer observers[4];
    std::vector<int> calls;
    for (int i = 0; i < 4; ++i) {
      observers[i].onCall = [&, i](TvxLookAndFeelPainterClass) {
        calls.push_back(i);
        if (i == c.actor)
          for (int k : c.removes) r.RemoveObserver(&observers[k]);
      };
      r.AddObserver(&observers[i]);
    }
    ASSERT_TRUE(r.RegisterPainter("Black", P(1), nullptr));
    EXPECT_EQ(calls, c.expectedCalls);
  }
}

}  // namespace
