#include "Graphics.hpp"

#include "Buttons.hpp"
#include "Counter.hpp"
#include "FastDrawing.hpp"
#include "FrameClock.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

BITMAP* backBuffer = nullptr;

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kColourDepth = 32;
constexpr const char* kWindowTitle = "Quillforge";

FramePresenter framePresenter;

void presentFrame()
{
    if (framePresenter)
        framePresenter(backBuffer);
    else
        blit(backBuffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
}

} // namespace

int initGraphics()
{
    // The library's old set_window_close_button(0) is an empty stub now;
    // no close callback is how it disables the close box.
    set_close_button_callback(nullptr);
    set_window_title(kWindowTitle);
    set_color_depth(kColourDepth);
    if (set_gfx_mode(graphicsCard, kScreenWidth, kScreenHeight, 0, 0) != 0) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Unable to set any graphic mode\n%s\n", allegro_error);
        return 1;
    }
    backBuffer = create_bitmap(SCREEN_W, SCREEN_H);
    set_color_conversion(COLORCONV_8_TO_32 | COLORCONV_15_TO_32 | COLORCONV_16_TO_32
                         | COLORCONV_24_TO_32);
    text_system_startup();
    return 0;
}

void shutdownGraphics()
{
    destroy_bitmap(backBuffer);
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    text_system_shutdown();
}

void flipScreen()
{
    presentFrame();
    pollGameKeys();
    advanceFrameClock();
    stepCounters();
}

void clearScreen(unsigned char red, unsigned char green, unsigned char blue)
{
    clearBitmap(backBuffer, makecol(red, green, blue));
}

void plotPixel(int x, int y, unsigned char red, unsigned char green, unsigned char blue)
{
    putpixel(backBuffer, x, y, makecol(red, green, blue));
}

void setFramePresenter(FramePresenter presenter)
{
    framePresenter = std::move(presenter);
}
