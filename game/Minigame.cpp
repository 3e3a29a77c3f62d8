#include "Minigame.hpp"

#include "framework/Counter.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

namespace {

constexpr const char* kFontFile = "carbon.ttf";
constexpr int kFontHeight = 24;
// The card runs while the whole part of a value falling from 2 at one unit
// per second is above 0: about one second.
constexpr int kTitleStartValue = 2;
constexpr double kTitleSpeed = -1.0;
constexpr int kTitleX = 320;
constexpr int kTitleY = 228;

} // namespace

Minigame::~Minigame()
{
    freeFont();
}

void Minigame::loadFont()
{
    freeFont();
    font = text_font_load(kFontFile);
    text_font_set_height(font, kFontHeight);
}

void Minigame::showTitle(const char* title)
{
    Counter card;
    card.setValue(kTitleStartValue);
    card.setSpeed(kTitleSpeed);
    card.start();
    while (card.intValue() > 0) {
        clearScreen(0, 0, 0);
        draw_text_smooth_centred(backBuffer, font, title, kTitleX, kTitleY, makecol(255, 255, 255));
        flipScreen();
    }
    card.stop();
}

void Minigame::freeFont()
{
    text_font_destroy(font);
    font = nullptr;
}
