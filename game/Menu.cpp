#include "Menu.hpp"

#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"

// Until the title screen exists: a black screen that Esc leaves.
int runMenu(bool, bool)
{
    while (!backPressed()) {
        clearScreen(0, 0, 0);
        flipScreen();
    }
    pollGameKeys();
    return 3;
}
