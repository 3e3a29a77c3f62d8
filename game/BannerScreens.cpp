#include "TrollRun.hpp"

#include "TrollRunStrip.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

namespace {

constexpr int kStripHeight = 36;
constexpr int kBannerY = 222;
constexpr int kBannerRestX = 280;
constexpr int kDigitY = 250;
constexpr int kCentreX = 320;

// The intro's clock is also the banner's x: it slides in from the right
// edge at 640 pixels a second and the screen ends two seconds in.
constexpr int kIntroStart = 640;
constexpr double kIntroSpeed = -640.0;
constexpr int kIntroEnd = -640;

// The outcome's clock is the countdown digit: 3, 2, 1 in about a second.
constexpr double kOutcomeStart = 3.99;
constexpr double kOutcomeSpeed = -3.0;

void startClock(Counter& clock, double value, double speed)
{
    clock.setValue(value);
    clock.setSpeed(speed);
    clock.start();
}

void drawCountdown(TextFont* font, int digit)
{
    TextStrip strip(kStripHeight);
    draw_textf_sharp_centred_bg(strip.bitmap(), font, kCentreX, 0, makecol(0, 0, 0), maskColour(),
                                "%d", digit);
    strip.copyMasked(0, kDigitY);
}

} // namespace

void TrollRun::minigameIntro()
{
    Counter clock;
    startClock(clock, kIntroStart, kIntroSpeed);
    TextStrip banner(kStripHeight);
    draw_textf_sharp_bg(banner.bitmap(), bigFont, 0, 0, makecol(255, 0, 0), maskColour(),
                        "MINIGAME!");
    while (clock.intValue() > kIntroEnd) {
        drawWorldFrame();
        const int x = clock.intValue();
        banner.copyMasked(x < kBannerRestX ? kBannerRestX : x, kBannerY);
        flipScreen();
    }
    clock.stop();
}

void TrollRun::minigameOutcome(bool won)
{
    Counter clock;
    startClock(clock, kOutcomeStart, kOutcomeSpeed);
    TextStrip banner(kStripHeight);
    const int colour = won ? makecol(255, 0, 0) : makecol(0, 0, 100);
    draw_textf_sharp_bg(banner.bitmap(), bigFont, 0, 0, colour, maskColour(), "%s",
                        won ? "WINNER!" : "NO GOOD");
    while (clock.intValue() > 0) {
        drawWorldFrame();
        banner.copyMasked(kBannerRestX, kBannerY);
        drawCountdown(bigFont, clock.intValue());
        flipScreen();
    }
    clock.stop();
}
