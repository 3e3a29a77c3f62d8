#include "TrollRunStrip.hpp"

#include "framework/FastDrawing.hpp"
#include "framework/Graphics.hpp"

#include <allegro.h>

namespace {

constexpr int kOpaque = 255;

} // namespace

int maskColour()
{
    return makecol(255, 0, 255);
}

TextStrip::TextStrip(int height) : TextStrip(height, maskColour())
{
}

TextStrip::TextStrip(int height, int colour) : bitmap_(create_bitmap(kWidth, height))
{
    clear(colour);
}

TextStrip::~TextStrip()
{
    if (bitmap_)
        destroy_bitmap(bitmap_);
}

void TextStrip::clear(int colour)
{
    if (bitmap_)
        clearBitmap(bitmap_, colour);
}

void TextStrip::copyMasked(int x, int y) const
{
    if (bitmap_)
        maskedBlit(bitmap_, backBuffer, 0, 0, x, y, bitmap_->w, bitmap_->h);
}

void TextStrip::copyWhole(int x, int y) const
{
    if (bitmap_)
        plainBlit(bitmap_, backBuffer, 0, 0, x, y, bitmap_->w, bitmap_->h);
}

void TextStrip::copyBlended(int x, int y, int alpha) const
{
    if (!bitmap_)
        return;
    set_trans_blender(255, 255, 255, alpha);
    // At full strength the blender gives back the strip's pixel (less an
    // alpha byte, which no strip holds) and skips magenta, as a masked copy
    // does, at a fraction of the price.
    if (alpha == kOpaque) {
        copyMasked(x, y);
        return;
    }
    draw_trans_sprite(backBuffer, bitmap_, x, y);
}
