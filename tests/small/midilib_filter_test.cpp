// The filter's switches against decoded events of every kind.
#include <gtest/gtest.h>

#include <memory>

#include "midi_stream.h"
#include "midilib_filter.h"

namespace {

using midi_stream::Bytes;

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override { midilib_filter_init(&filter_); }

    bool passes(const Bytes& message)
    {
        EXPECT_EQ(midilib_dataToEvent(message.data(), message.size(), event_.get()), 0);
        return midilib_filter_apply(&filter_, event_.get()) == 0;
    }

    midilib_filter filter_{};
    std::unique_ptr<midilib_event> event_ = std::make_unique<midilib_event>();
};

const Bytes everyType[] = {{0x80, 1, 2}, {0x91, 1, 2}, {0xA2, 1, 2}, {0xB3, 1, 2},
                           {0xC4, 1},    {0xD5, 1},    {0xE6, 1, 2}, {0xF0, 1, 0xF7},
                           {0xF1, 1},    {0xF2, 1, 2}, {0xF3, 1},    {0xF6},
                           {0xF8},       {0xFA},       {0xFB},       {0xFC},
                           {0xFE},       {0xFF}};

TEST_F(FilterTest, FreshFilterPassesEveryTypeAndEachEventSwitchRejectsOnlyItsType)
{
    for (const Bytes& message : everyType) {
        EXPECT_TRUE(passes(message)) << ::testing::PrintToString(message);
    }
    for (uint8_t type = 0; type <= MIDILIB_Event_Type_Max; type++) {
        midilib_filter_init(&filter_);
        midilib_filter_setEventSwitch(&filter_, type, 1);
        for (uint8_t other = 0; other <= MIDILIB_Event_Type_Max; other++) {
            EXPECT_EQ(passes(everyType[other]), other != type) << int(type) << " " << int(other);
        }
    }
}

TEST_F(FilterTest, NoteOnWithVelocityZeroCountsAsNoteOff)
{
    midilib_filter_setEventSwitch(&filter_, MIDILIB_Event_Type_NoteOff, 1);
    EXPECT_FALSE(passes({0x90, 0x3C, 0x00}));
    EXPECT_TRUE(passes({0x90, 0x3C, 0x01}));
    midilib_filter_init(&filter_);
    midilib_filter_setEventSwitch(&filter_, MIDILIB_Event_Type_NoteOn, 1);
    EXPECT_TRUE(passes({0x90, 0x3C, 0x00}));
    EXPECT_FALSE(passes({0x90, 0x3C, 0x01}));
}

TEST_F(FilterTest, ControllerAndChannelSwitches)
{
    midilib_filter_setControllerSwitch(&filter_, 7, 1);
    EXPECT_FALSE(passes({0xB0, 7, 100}));
    EXPECT_FALSE(passes({0xBF, 7, 100}));
    EXPECT_TRUE(passes({0xB0, 8, 100}));
    EXPECT_TRUE(passes({0xC0, 7}));

    midilib_filter_init(&filter_);
    midilib_filter_setChannelSwitch(&filter_, 9, 1);
    EXPECT_FALSE(passes({0x99, 0x24, 0x40}));
    EXPECT_TRUE(passes({0x98, 0x24, 0x40}));
    for (const Bytes& message : everyType) {
        if (message[0] >= 0xF0) {
            EXPECT_TRUE(passes(message)) << ::testing::PrintToString(message);
        }
    }
}

TEST_F(FilterTest, GroupAndThroughSwitches)
{
    const struct {
        uint8_t group;
        uint8_t firstType;
        uint8_t lastType;
    } groups[] = {{MIDILIB_Filter_EventGroup_Channel, 0, 6},
                  {MIDILIB_Filter_EventGroup_SystemExclusive, 7, 7},
                  {MIDILIB_Filter_EventGroup_SystemCommon, 8, 11},
                  {MIDILIB_Filter_EventGroup_SystemRealTime, 12, 17}};
    for (const auto& group : groups) {
        midilib_filter_init(&filter_);
        midilib_filter_setEventGroupSwitch(&filter_, group.group, 1);
        for (uint8_t type = 0; type <= MIDILIB_Event_Type_Max; type++) {
            const bool inGroup = type >= group.firstType && type <= group.lastType;
            EXPECT_EQ(passes(everyType[type]), !inGroup) << int(group.group) << " " << int(type);
        }
    }
    midilib_filter_init(&filter_);
    midilib_filter_setThroughSwitch(&filter_, 1);
    for (const Bytes& message : everyType) {
        EXPECT_FALSE(passes(message));
    }
    event_->type = 18;
    midilib_filter_init(&filter_);
    EXPECT_EQ(midilib_filter_apply(&filter_, event_.get()), -1);
}

}  // namespace
