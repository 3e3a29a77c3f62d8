#include "TrollRun.hpp"

#include "TrollRunStrip.hpp"
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

// A black bitmap over the whole screen, freed when it goes out of scope.
class Veil {
public:
    Veil() : bitmap_(create_bitmap(TrollRun::kScreenWidth, TrollRun::kScreenHeight))
    {
        if (bitmap_)
            clear_to_color(bitmap_, makecol(0, 0, 0));
    }
    ~Veil()
    {
        if (bitmap_)
            destroy_bitmap(bitmap_);
    }
    Veil(const Veil&) = delete;
    Veil& operator=(const Veil&) = delete;

    void draw(int alpha) const
    {
        if (!bitmap_)
            return;
        set_trans_blender(255, 255, 255, alpha);
        draw_trans_sprite(backBuffer, bitmap_, 0, 0);
    }

private:
    BITMAP* bitmap_;
};

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
    const Veil veil;
    while (fade.intValue() <= kLastFade) {
        drawWorldFrame();
        veil.draw(fade.intValue());
        banner.copyMasked(0, kBannerY);
        flipScreen();
    }
    fade.stop();
}
