#include "TrollRun.hpp"

#include "TrollRunStrip.hpp"
#include "framework/FastDrawing.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

namespace {

constexpr int kStripHeight = 36;
constexpr int kBannerY = 222;
constexpr int kCentreX = 320;
constexpr double kFadeSpeed = 128.0;
// The veil stops one short of opaque, so the world never quite disappears.
constexpr int kLastFade = 254;

} // namespace

void TrollRun::gameOver()
{
    Counter fade;
    fade.setValue(0);
    fade.setSpeed(kFadeSpeed);
    fade.start();
    TextStrip banner(kStripHeight);
    draw_textf_sharp_centred_bg(banner.bitmap(), bigFont, kCentreX, 0, makecol(255, 0, 0),
                                maskColour(), "GAME OVER!");
    while (fade.intValue() <= kLastFade) {
        drawWorldFrame();
        blendBlackOver(backBuffer, fade.intValue()); // the black veil
        banner.copyMasked(0, kBannerY);
        flipScreen();
    }
    fade.stop();
}
