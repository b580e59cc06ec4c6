// The key order against a plain vector of (record, key) doing the same
// inserts and removals, for keys narrower and wider than a cache line:
// entries read back by position, keys stay unknown until set, and the block
// by block search finds where std::lower_bound puts a key, or reports a
// key it meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "tabledb/TomeDBFileKeyOrder.h"

namespace {

struct Entry {
  int32_t recNo;
  std::vector<uint8_t> key;
};

std::vector<uint8_t> KeyOf(uint32_t value, size_t width) {
  std::vector<uint8_t> key(width, 0);
  // Big-endian in the last bytes: equal leading bytes, order by memcmp.
  for (size_t i = 0; i < 4 && i < width; ++i) key[width - 1 - i] = uint8_t(value >> (8 * i));
  return key;
}

void ExpectSame(const TKeyOrder& order, const std::vector<Entry>& model) {
  ASSERT_EQ(order.size(), model.size());
  for (size_t p = 0; p < model.size(); ++p) {
    ASSERT_EQ(order.RecNo(p), model[p].recNo) << "at " << p;
    ASSERT_NE(order.Key(p), nullptr) << "at " << p;
    ASSERT_EQ(std::memcmp(order.Key(p), model[p].key.data(), model[p].key.size()), 0) << "at " << p;
  }
}

// Compares key with a stored key, as a key search does.
auto Comparer(const std::vector<uint8_t>& key) {
  return [&key](const uint8_t* stored) {
    const int c = std::memcmp(key.data(), stored, key.size());
    return (c > 0) - (c < 0);
  };
}

// For an order whose keys are all known.
const uint8_t* NoFill(int32_t recNo) {
  ADD_FAILURE() << "key of record " << recNo << " asked for";
  static const uint8_t none[256] = {};
  return none;
}

TEST(TomeDBFileKeyOrder, FollowsAVectorAndSearchesAsLowerBound) {
  for (const size_t width : {size_t(1), size_t(4), size_t(21), size_t(59), size_t(60), size_t(130)}) {
    SCOPED_TRACE(width);
    std::mt19937 random(11);
    TKeyOrder order;
    order.Assign(TPositionList(), width);
    std::vector<Entry> model;
    const auto byKey = [](const Entry& e, const std::vector<uint8_t>& k) { return e.key < k; };
    // Keys in sorted places, duplicates among them, through many block splits.
    for (int32_t n = 0; n < 6000; ++n) {
      const std::vector<uint8_t> key = KeyOf(uint32_t(random() % 4000), width);
      const auto at = std::lower_bound(model.begin(), model.end(), key, byKey);
      const bool present = at != model.end() && at->key == key;
      const std::ptrdiff_t found = order.InsertPosition(Comparer(key), NoFill);
      ASSERT_EQ(found, present ? -1 : at - model.begin()) << "key " << n;
      order.Insert(size_t(at - model.begin()), n, key.data());
      model.insert(at, {n, key});
    }
    ExpectSame(order, model);
    EXPECT_THROW(order.RecNo(model.size()), std::out_of_range);
    EXPECT_THROW(order.Insert(model.size() + 1, 0, model[0].key.data()), std::out_of_range);
    while (model.size() > 50) {
      const size_t at = random() % model.size();
      order.Erase(at);
      model.erase(model.begin() + std::ptrdiff_t(at));
    }
    ExpectSame(order, model);
    while (!model.empty()) {
      order.Erase(model.size() - 1);
      model.pop_back();
    }
    EXPECT_EQ(order.size(), 0u);
    EXPECT_EQ(order.InsertPosition([](const uint8_t*) { return 1; }, NoFill), 0);
    order.Insert(0, 9, KeyOf(3, width).data());
    EXPECT_EQ(order.RecNo(0), 9);
  }
}

TEST(TomeDBFileKeyOrder, AssignedEntriesWaitForTheirKeys) {
  TPositionList list;
  for (int32_t n = 0; n < 3000; ++n) list.push_back({n * 40, 3000 - n});
  TKeyOrder order;
  order.Assign(list, 8);
  ASSERT_EQ(order.size(), list.size());
  for (size_t p = 0; p < list.size(); ++p) {
    ASSERT_EQ(order.RecNo(p), list[p].RecNo);
    ASSERT_EQ(order.Key(p), nullptr);
  }
  const std::vector<uint8_t> key = KeyOf(77, 8);
  order.SetKey(1234, key.data());
  ASSERT_NE(order.Key(1234), nullptr);
  EXPECT_EQ(std::memcmp(order.Key(1234), key.data(), 8), 0);
  EXPECT_EQ(order.Key(1235), nullptr);
  order.clear();
  EXPECT_EQ(order.size(), 0u);
  EXPECT_EQ(order.KeyWidth(), 0u);
}

// Keys filled in after the order was built, the blocks' first ones among
// them, are the ones a search over the blocks compares with; a search that
// meets an unknown key has it filled in and kept.
TEST(TomeDBFileKeyOrder, SearchesKeysFilledInLater) {
  TPositionList list;
  for (int32_t n = 0; n < 3000; ++n) list.push_back({n * 40, n});
  const auto keyOf = [](int32_t recNo) { return KeyOf(uint32_t(2 * recNo + 2), 8); };
  TKeyOrder order;
  order.Assign(list, 8);
  int fills = 0;
  std::vector<uint8_t> filled;
  const auto fill = [&](int32_t recNo) {
    ++fills;
    filled = keyOf(recNo);
    return filled.data();
  };
  const std::vector<uint8_t> middle = KeyOf(2 * 1500 + 1, 8);
  ASSERT_EQ(order.InsertPosition(Comparer(middle), fill), 1500);
  EXPECT_GT(fills, 0);
  EXPECT_LT(fills, 30);
  const int firstSearch = fills;
  ASSERT_EQ(order.InsertPosition(Comparer(middle), fill), 1500);
  EXPECT_EQ(fills, firstSearch);
  ASSERT_NE(order.Key(1500), nullptr);
  EXPECT_EQ(std::memcmp(order.Key(1500), keyOf(1500).data(), 8), 0);

  for (size_t p = 0; p < list.size(); ++p) order.SetKey(p, keyOf(int32_t(p)).data());
  for (size_t p = 0; p < list.size(); ++p) {
    ASSERT_EQ(order.InsertPosition(Comparer(KeyOf(uint32_t(2 * p + 1), 8)), NoFill), std::ptrdiff_t(p)) << p;
    ASSERT_EQ(order.InsertPosition(Comparer(KeyOf(uint32_t(2 * p + 2), 8)), NoFill), -1) << p;
  }
  EXPECT_EQ(order.InsertPosition(Comparer(KeyOf(2 * 3000 + 1, 8)), NoFill), 3000);
  // A block's first entry erased: the next one takes its place in the search.
  order.Erase(256);
  EXPECT_EQ(order.InsertPosition(Comparer(KeyOf(2 * 257 + 1, 8)), NoFill), 256);
  EXPECT_EQ(order.InsertPosition(Comparer(KeyOf(2 * 256 + 2, 8)), NoFill), 256);
}

// Keys appended in ascending order, as an auto-increment index gets them,
// and removed from the end: the blocks fill up and empty from the back.
TEST(TomeDBFileKeyOrder, AppendsAndRemovesAtTheEnd) {
  TKeyOrder order;
  order.Assign(TPositionList(), 4);
  std::vector<Entry> model;
  for (int32_t n = 0; n < 5000; ++n) {
    const std::vector<uint8_t> key = KeyOf(uint32_t(n), 4);
    ASSERT_EQ(order.InsertPosition(Comparer(key), NoFill), std::ptrdiff_t(n));
    order.Insert(size_t(n), n, key.data());
    model.push_back({n, key});
  }
  ExpectSame(order, model);
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < 700; ++k) {
      order.Erase(model.size() - 1);
      model.pop_back();
    }
    ExpectSame(order, model);
    for (int k = 0; k < 300; ++k) {
      const int32_t n = model.back().recNo + 1;
      order.Insert(model.size(), n, KeyOf(uint32_t(n), 4).data());
      model.push_back({n, KeyOf(uint32_t(n), 4)});
    }
    ExpectSame(order, model);
  }
  const std::vector<uint8_t> early = KeyOf(uint32_t(1000), 4);
  order.Insert(1000, -1, early.data());
  model.insert(model.begin() + 1000, {-1, early});
  ExpectSame(order, model);
}

}  // namespace
