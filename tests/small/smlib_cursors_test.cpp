// Byte cursors and the byte ring.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "smlib_constData.h"
#include "smlib_data.h"
#include "smlib_queue.h"

namespace {

TEST(SmlibData, WritesStopAtSizeAndMoveWholeElementsOnly)
{
    unsigned char memory[4] = {};
    smlib_data data;
    smlib_data_init(&data, memory, 4);
    const unsigned char byte = 0xAB;
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(smlib_data_write(&data, &byte, 1, 1), 1u);
    }
    EXPECT_EQ(smlib_data_write(&data, &byte, 1, 1), 0u);
    EXPECT_EQ(smlib_data_tell(&data), 4u);

    // Three two-byte elements into four bytes: two fit, no half element.
    smlib_data_init(&data, memory, 4);
    const uint16_t words[3] = {1, 2, 3};
    EXPECT_EQ(smlib_data_write(&data, words, 2, 3), 2u);
    EXPECT_EQ(smlib_data_tell(&data), 4u);

    smlib_data empty;
    smlib_data_init(&empty, nullptr, 0);
    EXPECT_EQ(smlib_data_write(&empty, &byte, 1, 1), 0u);
    EXPECT_EQ(smlib_data_getSize(&empty), 0u);
}

TEST(SmlibData, SeekFollowsOriginsAndReportsNoMove)
{
    unsigned char memory[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    smlib_data data;
    smlib_data_init(&data, memory, 10);
    EXPECT_EQ(smlib_data_seek(&data, 3, 0), 0);
    EXPECT_EQ(smlib_data_tell(&data), 3u);
    EXPECT_EQ(smlib_data_seek(&data, 2, 1), 0);
    EXPECT_EQ(smlib_data_tell(&data), 5u);
    unsigned char out = 0;
    EXPECT_EQ(smlib_data_read(&data, &out, 1, 1), 1u);
    EXPECT_EQ(out, 5);
    // Beyond the size the position stays where it was.
    EXPECT_EQ(smlib_data_seek(&data, 20, 1), -1);
    EXPECT_EQ(smlib_data_tell(&data), 6u);
    // Origin 2 starts at the last byte.
    EXPECT_EQ(smlib_data_seek(&data, -2, 2), 0);
    EXPECT_EQ(smlib_data_tell(&data), 7u);
    EXPECT_EQ(smlib_data_seek(&data, 0, 0), -1);
    EXPECT_EQ(smlib_data_tell(&data), 0u);
    EXPECT_DEATH(smlib_data_seek(&data, 0, 3), "Assertion failed: 0, function smlib_cursor_seek");
    EXPECT_DEATH(smlib_data_init(&data, nullptr, 3), "Assertion failed: size == 0, function smlib_data_init");
    EXPECT_DEATH(smlib_data_init(&data, memory, 0), "Assertion failed: size > 0");
}

TEST(SmlibConstData, ReadsUpToTheEnd)
{
    const unsigned char memory[3] = {10, 20, 30};
    smlib_constData data;
    smlib_constData_init(&data, memory, 3);
    unsigned char out[5] = {};
    EXPECT_EQ(smlib_constData_read(&data, out, 1, 5), 3u);
    EXPECT_EQ(out[2], 30);
    EXPECT_EQ(smlib_constData_read(&data, out, 1, 1), 0u);
    EXPECT_EQ(smlib_constData_seek(&data, 1, 0), 0);
    EXPECT_EQ(smlib_constData_read(&data, out, 1, 1), 1u);
    EXPECT_EQ(out[0], 20);
    EXPECT_EQ(smlib_constData_tell(&data), 2u);
}

TEST(SmlibQueue, HoldsCapacityMinusOneAndKeepsOrderAcrossTheEnd)
{
    unsigned char memory[8];
    smlib_queue queue;
    smlib_queue_init(&queue, memory, 8);
    EXPECT_TRUE(smlib_queue_empty(&queue));
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
    const unsigned char expected[7] = {5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(std::vector<unsigned char>(all, all + 7),
              std::vector<unsigned char>(expected, expected + 7));
    EXPECT_TRUE(smlib_queue_empty(&queue));
    EXPECT_EQ(smlib_queue_popByte(&queue, &out), -1);
}

TEST(SmlibQueue, WrappedPartIsCutToWholeElements)
{
    unsigned char memory[8];
    smlib_queue queue;
    smlib_queue_init(&queue, memory, 8);
    unsigned char scratch[8];
    const unsigned char six[6] = {};
    smlib_queue_push(&queue, six, 1, 6);
    smlib_queue_pop(&queue, scratch);  // read and write index 6
    // Two bytes to the end, then five free before the reader: of the three
    // remaining two-byte elements only two fit after the wrap.
    const uint16_t words[4] = {1, 2, 3, 4};
    EXPECT_EQ(smlib_queue_push(&queue, words, 2, 4), 6u);
    EXPECT_DEATH(smlib_queue_init(&queue, memory, 0), "capacity > 0");
}

}  // namespace
