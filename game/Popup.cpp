#include "Popup.hpp"

#include "TrollRunStrip.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

namespace {

constexpr int kFontHeight = 24;
constexpr double kFadeSpeed = -700.0;
constexpr int kFullAlpha = 255;
constexpr double kFadeCeiling = 700.0;
constexpr int kRise = 25;
constexpr int kAlphaPerPixel = 10;

struct Word {
    const char* text;
    int r, g, b;
};

constexpr Word kWords[] = {
    {"HIT", 220, 0, 50},
    {"MISS", 50, 220, 50},
    {"BAD", 50, 0, 220},
};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

} // namespace

void Popup::loadFont()
{
    freeFont();
    font = text_font_load("carbon.ttf");
    text_font_set_height(font, kFontHeight);
}

void Popup::freeFont()
{
    text_font_destroy(font);
    font = nullptr;
}

void Popup::show(int newKind)
{
    kind = newKind;
    alpha.setSpeed(kFadeSpeed);
    alpha.setValue(kFullAlpha);
    alpha.setMin(0.0);
    alpha.setMax(kFadeCeiling);
    alpha.setStopAtLimits(true);
    alpha.start();
}

void Popup::draw(int x, int y) const
{
    const int a = alpha.intValue();
    if (a <= 0)
        return;
    const int top = y + a / kAlphaPerPixel - kRise;
    TextStrip strip(kFontHeight);
    if (kind >= 0 && kind < kWordCount) {
        const Word& word = kWords[kind];
        draw_text_sharp_centred_bg(strip.bitmap(), font, word.text, x, 0,
                                   makecol(word.r, word.g, word.b), maskColour());
    }
    strip.copyBlended(0, top, a);
}
