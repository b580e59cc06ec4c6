// The blocked position list against a plain vector doing the same inserts
// and removals: blocks split when full and vanish when emptied, and reads by
// index, by iterator and by binary search all see the model's order; and
// copies that share blocks stay apart. The block sizes under it against
// plain sums.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tabledb/TomeDBFilePositions.h"

namespace {

// Blocks come and go at the end and anywhere else, empty ones among them,
// and sizes change: every start and every position's block are the plain
// sums' answers.
TEST(TomeDBFileBlockSizes, StartsAndFindsAsPlainSums) {
  std::mt19937 random(3);
  TBlockSizes sizes;
  std::vector<size_t> model;
  const auto expectSame = [&](int step) {
    ASSERT_EQ(sizes.size(), model.size());
    size_t start = 0;
    for (size_t block = 0; block < model.size(); ++block) {
      ASSERT_EQ(sizes.Start(block), start) << "step " << step << " block " << block;
      ASSERT_EQ(sizes.SizeOf(block), model[block]);
      for (size_t p = start; p < start + model[block]; ++p) {
        size_t found = 0;
        ASSERT_EQ(sizes.Find(p, found), block) << "step " << step << " position " << p;
        ASSERT_EQ(found, start);
      }
      start += model[block];
    }
  };
  for (int step = 0; step < 400; ++step) {
    const size_t at = random() % (model.size() + 1);
    switch (random() % 5) {
      case 0:
      case 1:
        sizes.Insert(model.size(), random() % 4);
        model.push_back(sizes.SizeOf(model.size()));
        break;
      case 2:
        sizes.Insert(at, random() % 4);
        model.insert(model.begin() + std::ptrdiff_t(at), sizes.SizeOf(at));
        break;
      case 3:
        if (!model.empty()) {
          const size_t block = at % model.size();
          sizes.Add(block, 2);
          model[block] += 2;
        }
        break;
      default:
        if (!model.empty()) {
          const size_t block = random() % 2 ? model.size() - 1 : at % model.size();
          sizes.Erase(block);
          model.erase(model.begin() + std::ptrdiff_t(block));
        }
    }
    expectSame(step);
  }
}

void ExpectSame(const TPositionList& list, const std::vector<TRecordPosition>& model) {
  ASSERT_EQ(list.size(), model.size());
  size_t i = 0;
  for (const TRecordPosition& p : list) {
    ASSERT_EQ(p.RecNo, model[i].RecNo) << "iterating, at " << i;
    ASSERT_EQ(list[i].RecNo, model[i].RecNo) << "indexing, at " << i;
    ++i;
  }
  EXPECT_EQ(i, model.size());
}

TEST(TomeDBFilePositions, FollowsAVectorThroughSplitsAndEmptiedBlocks) {
  std::mt19937 random(7);
  TPositionList list;
  std::vector<TRecordPosition> model;
  // Grows well past several blocks with inserts anywhere, then shrinks to
  // nothing with removals anywhere.
  for (int32_t n = 0; n < 9000; ++n) {
    const size_t at = random() % (model.size() + 1);
    list.insert(list.begin() + std::ptrdiff_t(at), {n * 10, n});
    model.insert(model.begin() + std::ptrdiff_t(at), {n * 10, n});
  }
  ExpectSame(list, model);
  EXPECT_THROW(list.at(model.size()), std::out_of_range);
  while (model.size() > 100) {
    const size_t at = random() % model.size();
    list.erase(list.begin() + std::ptrdiff_t(at));
    model.erase(model.begin() + std::ptrdiff_t(at));
  }
  ExpectSame(list, model);
  while (!model.empty()) {
    list.erase(list.begin());
    model.erase(model.begin());
  }
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.begin(), list.end());
  list.push_back({5, 1});
  EXPECT_EQ(list.back().RecNo, 1);
}

TEST(TomeDBFilePositions, SearchesAndCopiesRanges) {
  TPositionList list;
  for (int32_t n = 0; n < 5000; ++n) list.push_back({0, n * 2});
  list.insert(list.begin() + 2500, {0, 4999});  // keeps the order, splits a full block
  const auto byRecNo = [](const TRecordPosition& p, int32_t r) { return p.RecNo < r; };
  for (int32_t r : {-1, 0, 4998, 4999, 5000, 9998, 9999}) {
    const auto it = std::lower_bound(list.begin(), list.end(), r, byRecNo);
    const int32_t expected = r < 0 ? 0 : r <= 4998 ? (r + 1) / 2 : r == 4999 ? 2500 : r / 2 + 1 + (r % 2);
    EXPECT_EQ(it - list.begin(), expected) << r;
  }
  TPositionList range(list.begin() + 2499, list.begin() + 2502);
  ASSERT_EQ(range.size(), 3u);
  EXPECT_EQ(range[0].RecNo, 4998);
  EXPECT_EQ(range[1].RecNo, 4999);
  EXPECT_EQ(range[2].RecNo, 5000);
  auto back = list.end();
  --back;
  EXPECT_EQ(back->RecNo, 9998);
}

// Copies share their blocks until one of them changes: a change to either
// never shows in the other, whichever block it touches.
TEST(TomeDBFilePositions, CopiesStayApartWhenEitherChanges) {
  TPositionList original;
  std::vector<TRecordPosition> model;
  for (int32_t n = 0; n < 5000; ++n) {
    original.push_back({n * 10, n});
    model.push_back({n * 10, n});
  }
  TPositionList copy = original;
  copy.insert(copy.begin() + 10, {7, -1});  // splits the first, full block
  copy.erase(copy.begin() + 3000);
  copy.push_back({9, -2});  // the last block
  ExpectSame(original, model);

  std::vector<TRecordPosition> copyModel = model;
  copyModel.insert(copyModel.begin() + 10, {7, -1});
  copyModel.erase(copyModel.begin() + 3000);
  copyModel.push_back({9, -2});
  ExpectSame(copy, copyModel);

  TPositionList second = copy;
  second.erase(second.begin() + 10);
  original.erase(original.begin());
  model.erase(model.begin());
  ExpectSame(copy, copyModel);
  ExpectSame(original, model);
  copyModel.erase(copyModel.begin() + 10);
  ExpectSame(second, copyModel);
}

// Runs appended at once fill blocks as single appends would, across block
// ends, onto a partly full last block shared with a copy (which keeps its
// own), and leave a list that inserts, removals and searches agree with.
TEST(TomeDBFilePositions, AppendedRunsFillBlocksAsSingleAppends) {
  TPositionList list;
  std::vector<TRecordPosition> model;
  TPositionList copy;
  std::vector<TRecordPosition> copyModel;
  int32_t next = 0;
  for (size_t length : {size_t(0), size_t(1), size_t(2047), size_t(3), size_t(5000), size_t(2048), size_t(1)}) {
    std::vector<TRecordPosition> run;
    for (size_t i = 0; i < length; ++i, ++next) run.push_back({next * 10, next});
    if (length == 3) {
      copy = list;
      copyModel = model;
    }
    list.append(run.data(), run.size());
    model.insert(model.end(), run.begin(), run.end());
    ExpectSame(list, model);
  }
  ExpectSame(copy, copyModel);
  for (size_t at : {size_t(0), size_t(2048), size_t(5000), model.size()}) {
    list.insert(list.begin() + std::ptrdiff_t(at), {1, -1});
    model.insert(model.begin() + std::ptrdiff_t(at), {1, -1});
  }
  list.erase(list.begin() + 4096);
  model.erase(model.begin() + 4096);
  ExpectSame(list, model);
  EXPECT_EQ(list.at(model.size() - 1).RecNo, model.back().RecNo);
  EXPECT_THROW(list.at(model.size()), std::out_of_range);
}

}  // namespace
