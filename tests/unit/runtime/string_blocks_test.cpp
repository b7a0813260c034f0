#include "runtime/string_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/memory.h"
#include "runtime_fixture.h"

namespace {
using StringBlocksTest = RuntimeTest;

TEST(StringBlocks, BlocksComeBackToTheirOwnSizeClassAndLargeOnesAreNotKept) {
  void* small = TakeStringBlock(20);
  GiveBackStringBlock(small, 20);
  void* other = TakeStringBlock(40);  // another class: not the kept block
  EXPECT_NE(other, small);
  EXPECT_EQ(TakeStringBlock(32), small);  // 20 and 32 share the class 17..32
  GiveBackStringBlock(small, 32);
  GiveBackStringBlock(other, 40);

  // A kept block still counts as in use; a large one goes back to the manager.
  void* kept = TakeStringBlock(24);
  const int64_t taken = CurrentMemoryFigures().inUse;
  GiveBackStringBlock(kept, 24);
  EXPECT_EQ(CurrentMemoryFigures().inUse, taken);
  EXPECT_EQ(TakeStringBlock(24), kept);
  GiveBackStringBlock(kept, 24);

  void* large = TakeStringBlock(kLargestKeptBlock + 1);
  const int64_t withLarge = CurrentMemoryFigures().inUse;
  GiveBackStringBlock(large, kLargestKeptBlock + 1);
  EXPECT_EQ(CurrentMemoryFigures().inUse, withLarge - int64_t(kLargestKeptBlock + 1));
}

TEST(StringBlocks, AtMostAFixedNumberOfBlocksIsKeptPerClass) {
  std::vector<void*> blocks;
  for (int i = 0; i < 2 * kKeptPerClass; ++i) blocks.push_back(TakeStringBlock(100));
  const int64_t allTaken = CurrentMemoryFigures().inUse;
  for (void* block : blocks) GiveBackStringBlock(block, 100);
  // Every block beyond the kept ones went back to the memory manager.
  EXPECT_LE(CurrentMemoryFigures().inUse, allTaken - int64_t(kKeptPerClass) * 100);
  for (auto& block : blocks) block = TakeStringBlock(100);
  for (void* block : blocks) GiveBackStringBlock(block, 100);
}

// Strings of every length around the class edges, made and dropped in an
// interleaved order, keep their texts: a block too small for its string would
// let one text overwrite another.
TEST_F(StringBlocksTest, InterleavedStringsOfEveryLengthKeepTheirTexts) {
  auto textOf = [](size_t length, char fill) { return std::string(length, fill); };
  std::vector<TempValue> strings;
  for (size_t length = 0; length <= kLargestKeptBlock + 20; ++length) {
    TempValue value;
    SetStringCopy(value, textOf(length, char('a' + length % 26)));
    strings.push_back(value);
  }
  for (size_t i = 0; i < strings.size(); i += 2) SetReal(strings[i], 0);
  for (size_t i = 0; i < strings.size(); i += 2) {
    TempValue left, right;
    SetStringCopy(left, textOf(i / 2, 'x'));
    SetStringCopy(right, textOf(i - i / 2, 'y'));
    AssignValue(strings[i], Add(left, right));
  }
  for (size_t i = 0; i < strings.size(); ++i) {
    const std::string expected = i % 2 ? textOf(i, char('a' + i % 26)) : textOf(i / 2, 'x') + textOf(i - i / 2, 'y');
    ASSERT_EQ(ValueText(strings[i]), expected) << "length " << i;
    EXPECT_EQ(strings[i].str->Length(), i);
  }
}
}  // namespace
