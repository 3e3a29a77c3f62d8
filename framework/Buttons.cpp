#include "Buttons.hpp"

#include <allegro.h>

#include <initializer_list>

VirtualButton actionButton;
VirtualButton backButton;
VirtualButton upButton;
VirtualButton downButton;

namespace {

bool anyKeyDown(std::initializer_list<int> keys)
{
    for (int code : keys)
        if (key[code])
            return true;
    return false;
}

void sample(VirtualButton& button, std::initializer_list<int> keys)
{
    button.previous = button.current;
    button.current = anyKeyDown(keys);
}

bool pressed(const VirtualButton& b)
{
    return b.current && !b.previous;
}
bool released(const VirtualButton& b)
{
    return !b.current && b.previous;
}

} // namespace

void startInput()
{
    install_keyboard();
    for (VirtualButton* b : {&actionButton, &backButton, &upButton, &downButton})
        b->current = false;
    pollGameKeys();
}

void stopInput()
{
    remove_keyboard();
}

void pollGameKeys()
{
    poll_keyboard();
    sample(actionButton,
           {KEY_SPACE, KEY_ENTER, KEY_LSHIFT, KEY_RSHIFT, KEY_LCONTROL, KEY_RCONTROL});
    sample(backButton, {KEY_ESC});
    sample(upButton, {KEY_UP, KEY_W, KEY_8_PAD});
    sample(downButton, {KEY_DOWN, KEY_S, KEY_2_PAD});
}

void clearKeys()
{
    for (VirtualButton* b : {&actionButton, &backButton, &upButton, &downButton})
        *b = VirtualButton{};
}

bool actionPressed()
{
    return pressed(actionButton);
}
bool backPressed()
{
    return pressed(backButton);
}
bool upPressed()
{
    return pressed(upButton);
}
bool downPressed()
{
    return pressed(downButton);
}

bool actionReleased()
{
    return released(actionButton);
}
bool backReleased()
{
    return released(backButton);
}
bool upReleased()
{
    return released(upButton);
}
bool downReleased()
{
    return released(downButton);
}

bool actionHeld()
{
    return actionButton.current;
}
bool backHeld()
{
    return backButton.current;
}
bool upHeld()
{
    return upButton.current;
}
bool downHeld()
{
    return downButton.current;
}
