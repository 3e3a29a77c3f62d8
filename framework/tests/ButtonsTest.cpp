#include "HeadlessScreen.hpp"

#include "framework/Buttons.hpp"

#include <gtest/gtest.h>

namespace {

struct ButtonQueries {
    bool (*pressed)();
    bool (*released)();
    bool (*held)();
};

const ButtonQueries kAction{actionPressed, actionReleased, actionHeld};
const ButtonQueries kBack{backPressed, backReleased, backHeld};
const ButtonQueries kUp{upPressed, upReleased, upHeld};
const ButtonQueries kDown{downPressed, downReleased, downHeld};

void poll(const std::vector<int>& keys)
{
    HeadlessScreen::holdKeys(keys);
    pollGameKeys();
}

class Buttons : public ::testing::Test {
protected:
    HeadlessScreen screen;
};

} // namespace

TEST_F(Buttons, EveryKeyOfARowDrivesItsButtonOnly)
{
    const std::vector<std::pair<int, const ButtonQueries*>> rows = {
        {KEY_SPACE, &kAction},  {KEY_ENTER, &kAction},    {KEY_LSHIFT, &kAction},
        {KEY_RSHIFT, &kAction}, {KEY_LCONTROL, &kAction}, {KEY_RCONTROL, &kAction},
        {KEY_ESC, &kBack},      {KEY_UP, &kUp},           {KEY_W, &kUp},
        {KEY_8_PAD, &kUp},      {KEY_DOWN, &kDown},       {KEY_S, &kDown},
        {KEY_2_PAD, &kDown},
    };
    for (const auto& [code, button] : rows) {
        SCOPED_TRACE(code);
        poll({});
        poll({code});
        for (const ButtonQueries* b : {&kAction, &kBack, &kUp, &kDown}) {
            EXPECT_EQ(b->pressed(), b == button);
            EXPECT_EQ(b->held(), b == button);
        }
        poll({code});
        EXPECT_FALSE(button->pressed());
        EXPECT_TRUE(button->held());
        poll({});
        EXPECT_TRUE(button->released());
        EXPECT_FALSE(button->held());
        poll({});
        EXPECT_FALSE(button->released());
    }
}

TEST_F(Buttons, OtherKeysMeanNothing)
{
    poll({});
    poll({KEY_ENTER_PAD, KEY_LEFT, KEY_RIGHT, KEY_ALT, KEY_A, KEY_5_PAD, KEY_4_PAD, KEY_6_PAD});
    for (const ButtonQueries* b : {&kAction, &kBack, &kUp, &kDown})
        EXPECT_FALSE(b->held());
}

TEST_F(Buttons, EachButtonIsJudgedOnItsOwnKeys)
{
    poll({});
    poll({KEY_UP, KEY_DOWN});
    EXPECT_TRUE(upPressed());
    EXPECT_TRUE(downPressed());

    // Letting go of one of two keys of a button changes nothing.
    poll({KEY_SPACE, KEY_ENTER});
    poll({KEY_ENTER});
    EXPECT_TRUE(actionHeld());
    EXPECT_FALSE(actionReleased());
    EXPECT_FALSE(actionPressed());
}

TEST_F(Buttons, ClearedButtonsSeeAHeldKeyAsANewPress)
{
    poll({KEY_ESC});
    poll({KEY_ESC});
    clearKeys();
    EXPECT_FALSE(backHeld());
    pollGameKeys();
    EXPECT_TRUE(backPressed());
}
