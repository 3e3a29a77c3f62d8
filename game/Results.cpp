#include "TrollRun.hpp"

#include "TrollRunStrip.hpp"
#include "framework/Buttons.hpp"
#include "framework/Graphics.hpp"
#include "framework/SaveFile.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

#include <string>

namespace {

constexpr int kStripHeight = 36;
constexpr int kCentreX = 320;

constexpr int kTitleY = 10;
constexpr int kHitsY = 160;
constexpr int kMissesY = 200;
constexpr int kBadsY = 240;
constexpr int kScoreY = 280;
constexpr int kFirstUnlockY = 400;
constexpr int kSecondUnlockY = 440;

// One line of the results: drawn on the black strip, then copied opaque.
// White or red shaded onto black holds no magenta, so the opaque blend is
// a plain copy.
void drawLine(TextStrip& strip, TextFont* font, int y, int colour, const char* text)
{
    strip.clear(makecol(0, 0, 0));
    draw_textf_smooth_centred_bg(strip.bitmap(), font, kCentreX, 0, colour, makecol(0, 0, 0), "%s",
                                 text);
    strip.copyWhole(0, y);
}

std::string withCount(const char* label, int count)
{
    return std::string(label) + std::to_string(count);
}

} // namespace

void TrollRun::showResults()
{
    TextStrip strip(kStripHeight, makecol(0, 0, 0));
    const int white = makecol(255, 255, 255);
    const int red = makecol(190, 0, 0);
    // The flags are still the ones from before this run: only what this
    // run unlocks for the first time is announced.
    const bool firstNew = score >= unlockScore1 && !fumboAttackUnlocked();
    const bool secondNew = score >= unlockScore2 && !spinAttackUnlocked();
    while (!actionPressed() && !backPressed()) {
        clearScreen(0, 0, 0);
        drawLine(strip, bigFont, kTitleY, white, "RESULTS");
        drawLine(strip, bigFont, kHitsY, white, withCount("HITS: ", hits).c_str());
        drawLine(strip, bigFont, kMissesY, white, withCount("MISSES: ", passed).c_str());
        drawLine(strip, bigFont, kBadsY, white, withCount("BADS: ", whiffs).c_str());
        drawLine(strip, bigFont, kScoreY, white, withCount("SCORE: ", score).c_str());
        if (firstNew)
            drawLine(strip, bigFont, kFirstUnlockY, red, "FUMBO ATTACK UNLOCKED!");
        if (secondNew)
            drawLine(strip, bigFont, kSecondUnlockY, red, "SPIN ATTACK UNLOCKED!");
        flipScreen();
    }
    pollGameKeys();
}
