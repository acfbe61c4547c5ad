#include <gtest/gtest.h>

#include "core/ptr_array.h"

namespace {

int values[20];

TEST(PtrArray, GrowsByEightSlots) {
  PtrArray<int*> array;
  EXPECT_EQ(array.Items(), nullptr);
  array.Append(&values[0]);
  EXPECT_EQ(array.Capacity(), 8);
  EXPECT_EQ(array.Count(), 1);
  for (int i = 1; i < 8; ++i) array.Append(&values[i]);
  EXPECT_EQ(array.Capacity(), 8);
  array.Append(&values[8]);
  EXPECT_EQ(array.Capacity(), 16);
  EXPECT_EQ(array.Count(), 9);
  for (uint16_t i = 0; i < array.Count(); ++i) EXPECT_EQ(array[i], &values[i]);
}

TEST(PtrArray, IndexOfFindsTheFirstIdenticalElement) {
  PtrArray<int*> array;
  EXPECT_EQ(array.IndexOf(&values[0]), kNotFound);
  array.Append(&values[1]);
  array.Append(&values[2]);
  array.Append(&values[1]);
  EXPECT_EQ(array.IndexOf(&values[1]), 0);
  EXPECT_EQ(array.IndexOf(&values[2]), 1);
  EXPECT_EQ(array.IndexOf(&values[3]), kNotFound);
}

TEST(PtrArray, RemoveAtKeepsTheOrder) {
  PtrArray<int*> array;
  for (int i = 0; i < 3; ++i) array.Append(&values[i]);
  EXPECT_EQ(array.RemoveAt(0), &values[0]);
  EXPECT_EQ(array.Count(), 2);
  EXPECT_EQ(array.Capacity(), 8);
  EXPECT_EQ(array[0], &values[1]);
  EXPECT_EQ(array[1], &values[2]);
  EXPECT_EQ(array.RemoveAt(1), &values[2]);
  EXPECT_EQ(array.Count(), 1);
}

TEST(PtrArray, ClearKeepingStorageRestartsAtIndexZero) {
  PtrArray<int*> array;
  for (int i = 0; i < 10; ++i) array.Append(&values[i]);
  array.Clear(false);
  EXPECT_NE(array.Items(), nullptr);
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(array.Capacity(), 0);
  array.Append(&values[5]);
  EXPECT_EQ(array[0], &values[5]);
  EXPECT_EQ(array.Capacity(), 8);

  array.Clear(true);
  EXPECT_EQ(array.Items(), nullptr);
  array.Clear(true);  // on an empty array: nothing to do
  EXPECT_EQ(array.Count(), 0);
}

TEST(PtrArray, HoldsSmallIntegers) {
  PtrArray<uint16_t> indices;
  indices.Append(7);
  indices.Append(3);
  EXPECT_EQ(indices.IndexOf(3), 1);
  EXPECT_EQ(indices.RemoveAt(0), 7);
}

TEST(PtrArray, DeleteAllRunsEveryElementsTeardown) {
  static int destroyed = 0;
  struct Tracked {
    ~Tracked() { ++destroyed; }
  };
  PtrArray<Tracked*> array;
  array.Append(new Tracked);
  array.Append(nullptr);  // skipped
  array.Append(new Tracked);
  array.DeleteAll();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(array.Items(), nullptr);
  EXPECT_EQ(array.Count(), 0);
}

TEST(PtrArray, MoveLeavesTheSourceEmpty) {
  PtrArray<int*> a;
  a.Append(&values[0]);
  PtrArray<int*> b(std::move(a));
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Items(), nullptr);
  ASSERT_EQ(b.Count(), 1);
  EXPECT_EQ(b[0], &values[0]);
}

TEST(PtrArray, RefusesTheSlotThatWouldMeanNotFound) {
  PtrArray<uint16_t> array;
  for (uint32_t i = 0; i < kNotFound; ++i) ASSERT_TRUE(array.Append(static_cast<uint16_t>(i)));
  EXPECT_EQ(array.Count(), kNotFound);
  EXPECT_FALSE(array.Append(1));
  EXPECT_EQ(array.Count(), kNotFound);
}

}  // namespace
