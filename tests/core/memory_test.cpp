#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/memory.h"

namespace {

// A platform stand-in that fails a set number of allocations and records what was asked of it.
struct FakePlatform {
  static inline int failuresLeft = 0;
  static inline int memoryRequests = 0;
  static inline uint32_t lastRequest = 0;
  static inline int outOfMemoryMessages = 0;

  static void* Reallocate(void* block, size_t size) {
    if (failuresLeft > 0) {
      --failuresLeft;
      return nullptr;
    }
    return std::realloc(block, size);
  }
  static void RequestMemory(uint32_t bytes) {
    ++memoryRequests;
    lastRequest = bytes;
  }
  static void ShowOutOfMemory() { ++outOfMemoryMessages; }
};

class CheckedAllocTest : public testing::Test {
 protected:
  void SetUp() override {
    FakePlatform::failuresLeft = 0;
    FakePlatform::memoryRequests = 0;
    FakePlatform::outOfMemoryMessages = 0;
    SetMemoryHooks({&FakePlatform::RequestMemory, &FakePlatform::ShowOutOfMemory, &FakePlatform::Reallocate});
  }
  void TearDown() override { SetMemoryHooks({}); }
};

TEST_F(CheckedAllocTest, SucceedsWithoutAskingThePlatform) {
  void* block = CheckedAlloc(64);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(FakePlatform::memoryRequests, 0);
  Free(block);
}

TEST_F(CheckedAllocTest, RetriesOnceAfterTheMemoryRequestAndShowsNothing) {
  FakePlatform::failuresLeft = 1;
  void* block = CheckedAlloc(1000);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(FakePlatform::memoryRequests, 1);
  EXPECT_EQ(FakePlatform::lastRequest, 1000u);
  EXPECT_EQ(FakePlatform::outOfMemoryMessages, 0);
  Free(block);
}

TEST_F(CheckedAllocTest, SecondFailureShowsTheMessageAndReturnsNull) {
  FakePlatform::failuresLeft = 2;
  EXPECT_EQ(CheckedAlloc(1000), nullptr);
  EXPECT_EQ(FakePlatform::memoryRequests, 1);
  EXPECT_EQ(FakePlatform::outOfMemoryMessages, 1);
}

TEST_F(CheckedAllocTest, FailedReallocLeavesTheOldBlockIntact) {
  char* block = static_cast<char*>(CheckedAlloc(4));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abc", 4);
  FakePlatform::failuresLeft = 2;
  EXPECT_EQ(CheckedRealloc(block, 4096), nullptr);
  EXPECT_STREQ(block, "abc");
  char* grown = static_cast<char*>(CheckedRealloc(block, 4096));
  ASSERT_NE(grown, nullptr);
  EXPECT_STREQ(grown, "abc");
  Free(grown);
}

TEST_F(CheckedAllocTest, ZeroBytesStillGivesABlock) {
  void* block = CheckedAlloc(0);
  EXPECT_NE(block, nullptr);
  Free(block);
}

TEST_F(CheckedAllocTest, ArrayAllocationRefusesOverflowingCounts) {
  EXPECT_EQ(CheckedAllocArray<uint64_t>(SIZE_MAX / 4), nullptr);
  EXPECT_EQ(FakePlatform::memoryRequests, 0);
}

}  // namespace
