// The static memory library's containers where index arithmetic can go
// wrong: array insertion and erasure, the stable sorted array, whole
// elements through a byte cursor, and the byte ring across its end. The
// other pieces are exercised through the MIDI library that uses them.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "smlib_array.h"
#include "smlib_data.h"
#include "smlib_queue.h"
#include "smlib_sortedArray.h"

namespace {

TEST(SmlibArray, InsertEraseAndBoundsKeepOrder)
{
    int memory[4] = {};
    smlib_array array{};
    smlib_array_init(&array, memory, sizeof(int), 4);
    const auto at = [&](uint64_t index) { return *static_cast<int*>(smlib_array_at(&array, index)); };
    for (int value : {1, 4}) {
        smlib_array_pushBack(&array, &value);
    }
    const int middle[] = {2, 3};
    smlib_array_insert(&array, 1, middle, 2);
    ASSERT_EQ(smlib_array_getCount(&array), 4u);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(at(i), i + 1);
    }
    EXPECT_EQ(smlib_array_at(&array, 4), nullptr);
    smlib_array_erase(&array, 0);
    EXPECT_EQ(at(0), 2);
    EXPECT_EQ(at(2), 4);
    uint64_t index = 99;
    const int four = 4;
    EXPECT_EQ(smlib_array_find(&array, &four, nullptr, &index), 0);
    EXPECT_EQ(index, 2u);
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
}

TEST(SmlibData, WritesMoveWholeElementsOnlyAndSeeksStayInside)
{
    unsigned char memory[4] = {};
    smlib_data data;
    smlib_data_init(&data, memory, 4);
    // Three two-byte elements into four bytes: two fit, no half element.
    const uint16_t words[3] = {1, 2, 3};
    EXPECT_EQ(smlib_data_write(&data, words, 2, 3), 2u);
    EXPECT_EQ(smlib_data_tell(&data), 4u);
    EXPECT_EQ(smlib_data_seek(&data, 20, 1), -1);  // beyond the size: the position stays
    EXPECT_EQ(smlib_data_tell(&data), 4u);
    EXPECT_EQ(smlib_data_seek(&data, -2, 2), 0);   // origin 2 starts at the last byte
    EXPECT_EQ(smlib_data_tell(&data), 1u);
}

TEST(SmlibQueue, HoldsCapacityMinusOneAndKeepsOrderAcrossTheEnd)
{
    unsigned char memory[8];
    smlib_queue queue;
    smlib_queue_init(&queue, memory, 8);
    for (unsigned char b = 0; b < 7; b++) {
        EXPECT_EQ(smlib_queue_pushByte(&queue, b), 0);
    }
    EXPECT_EQ(smlib_queue_pushByte(&queue, 99), -1);
    unsigned char out = 0;
    for (unsigned char b = 0; b < 5; b++) {
        ASSERT_EQ(smlib_queue_popByte(&queue, &out), 0);
        EXPECT_EQ(out, b);
    }
    // Read index 5, write index 7: one place before the end, four after the
    // wrap; the sixth byte does not fit.
    const unsigned char more[6] = {7, 8, 9, 10, 11, 12};
    EXPECT_EQ(smlib_queue_push(&queue, more, 1, 6), 5u);
    unsigned char all[8] = {};
    EXPECT_EQ(smlib_queue_pop(&queue, all), 7u);
    EXPECT_EQ(std::vector<unsigned char>(all, all + 7), (std::vector<unsigned char>{5, 6, 7, 8, 9, 10, 11}));
    EXPECT_TRUE(smlib_queue_empty(&queue));

    // Two bytes to the end, then five free before the reader: of the three
    // remaining two-byte elements only two fit after the wrap.
    unsigned char scratch[8];
    const unsigned char six[6] = {};
    smlib_queue_init(&queue, memory, 8);
    smlib_queue_push(&queue, six, 1, 6);
    smlib_queue_pop(&queue, scratch);
    const uint16_t words[4] = {1, 2, 3, 4};
    EXPECT_EQ(smlib_queue_push(&queue, words, 2, 4), 6u);
}

}  // namespace
