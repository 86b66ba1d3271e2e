// Arrays and sorted arrays over caller memory.
#include <gtest/gtest.h>

#include <cstdint>

#include "smlib_array.h"
#include "smlib_sortedArray.h"

namespace {

struct IntArray {
    int memory[4] = {};
    smlib_array array{};
    IntArray() { smlib_array_init(&array, memory, sizeof(int), 4); }
    void push(int value) { smlib_array_pushBack(&array, &value); }
    int at(uint64_t index) { return *static_cast<int*>(smlib_array_at(&array, index)); }
};

TEST(SmlibArray, PushAtAndBoundsReturnNullOrMinusOne)
{
    IntArray a;
    EXPECT_TRUE(smlib_array_empty(&a.array));
    EXPECT_EQ(smlib_array_back(&a.array), nullptr);
    a.push(7);
    a.push(8);
    EXPECT_EQ(smlib_array_getCount(&a.array), 2u);
    EXPECT_EQ(a.at(1), 8);
    EXPECT_EQ(*static_cast<int*>(smlib_array_back(&a.array)), 8);
    EXPECT_EQ(smlib_array_at(&a.array, 2), nullptr);
    int out = -5;
    EXPECT_EQ(smlib_array_getElement(&a.array, 2, &out), -1);
    EXPECT_EQ(out, -5);
    EXPECT_EQ(smlib_array_getElement(&a.array, 0, &out), 0);
    EXPECT_EQ(out, 7);
}

TEST(SmlibArray, InsertEraseAssignConcatenateKeepOrder)
{
    IntArray a;
    a.push(1);
    a.push(4);
    const int middle[] = {2, 3};
    smlib_array_insert(&a.array, 1, middle, 2);
    ASSERT_EQ(smlib_array_getCount(&a.array), 4u);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(a.at(i), i + 1);
    }
    smlib_array_erase(&a.array, 0);
    EXPECT_EQ(a.at(0), 2);
    EXPECT_EQ(a.at(2), 4);
    const int appended = 9;
    smlib_array_insert(&a.array, smlib_array_getCount(&a.array), &appended, 1);
    EXPECT_EQ(a.at(3), 9);

    const int replaced[] = {5, 6};
    smlib_array_assign(&a.array, replaced, 2);
    IntArray b;
    b.push(10);
    smlib_array_concatenate(&a.array, &b.array);
    ASSERT_EQ(smlib_array_getCount(&a.array), 3u);
    EXPECT_EQ(a.at(0), 5);
    EXPECT_EQ(a.at(2), 10);
    smlib_array_clear(&a.array);
    EXPECT_TRUE(smlib_array_empty(&a.array));
}

TEST(SmlibArray, FindByBytesOrMatchAndForEachStops)
{
    IntArray a;
    a.push(3);
    a.push(5);
    a.push(5);
    uint64_t index = 99;
    const int five = 5;
    EXPECT_EQ(smlib_array_find(&a.array, &five, nullptr, &index), 0);
    EXPECT_EQ(index, 1u);
    const int missing = 4;
    EXPECT_EQ(smlib_array_find(&a.array, &missing, nullptr, nullptr), -1);
    // A match function decides equality: here "same parity".
    auto sameParity = [](const void* element, const void* data) -> int {
        return (*static_cast<const int*>(element) % 2) == (*static_cast<const int*>(data) % 2);
    };
    EXPECT_EQ(smlib_array_find(&a.array, &missing, sameParity, &index), -1);
    EXPECT_EQ(smlib_array_find(&a.array, &five, sameParity, &index), 0);
    EXPECT_EQ(index, 0u);

    int visits = 0;
    smlib_array_forEach2(
        &a.array,
        [](void* element, void* context) -> int {
            ++*static_cast<int*>(context);
            return *static_cast<int*>(element) == 5;
        },
        &visits);
    EXPECT_EQ(visits, 2);
}

TEST(SmlibArrayDeath, FullArrayAndBadIndexAssert)
{
    IntArray a;
    for (int i = 0; i < 4; i++) {
        a.push(i);
    }
    EXPECT_DEATH(a.push(4), "Assertion failed: 0, function smlib_array_pushBack, file smlib_array.c, line [0-9]+");
    const int one = 1;
    EXPECT_DEATH(smlib_array_insert(&a.array, 0, &one, 1), "smlib_array_insert");
    EXPECT_DEATH(smlib_array_erase(&a.array, 4), "smlib_array_erase");
    EXPECT_DEATH(smlib_array_init(&a.array, nullptr, 4, 4), "Assertion failed: memory, function smlib_array_init");
}

int32_t byValue(const void* element, const void* other)
{
    // Order by value; the tag byte is ignored so equal values can be told apart.
    return static_cast<int32_t>(static_cast<const uint16_t*>(other)[0] >> 8) -
           static_cast<int32_t>(static_cast<const uint16_t*>(element)[0] >> 8);
}

TEST(SmlibSortedArray, EqualElementsKeepArrivalOrder)
{
    uint16_t memory[5];
    smlib_sortedArray sorted;
    smlib_sortedArray_init(&sorted, memory, sizeof(uint16_t), 5, byValue);
    // value << 8 | arrival tag
    for (uint16_t element : {uint16_t(0x0301), uint16_t(0x0302), uint16_t(0x0103),
                             uint16_t(0x0504), uint16_t(0x0305)}) {
        smlib_sortedArray_push(&sorted, &element);
    }
    const uint16_t expected[] = {0x0103, 0x0301, 0x0302, 0x0305, 0x0504};
    for (uint64_t i = 0; i < 5; i++) {
        uint16_t element = 0;
        ASSERT_EQ(smlib_sortedArray_getElement(&sorted, i, &element), 0);
        EXPECT_EQ(element, expected[i]) << "index " << i;
    }
    uint64_t index = 0;
    const uint16_t key = 0x0300;
    EXPECT_EQ(smlib_sortedArray_find(&sorted, &key, &index), 0);
    EXPECT_EQ(index, 1u);
    smlib_sortedArray_erase(&sorted, 1);
    EXPECT_EQ(*static_cast<uint16_t*>(smlib_sortedArray_at(&sorted, 1)), 0x0302);
    EXPECT_EQ(smlib_sortedArray_at(&sorted, 4), nullptr);
    const uint16_t absent = 0x0700;
    EXPECT_EQ(smlib_sortedArray_find(&sorted, &absent, nullptr), -1);
    const uint16_t extra = 0x0900;
    smlib_sortedArray_push(&sorted, &extra);
    EXPECT_DEATH(smlib_sortedArray_push(&sorted, &extra), "function smlib_sortedArray_push");
}

}  // namespace
