#include "TrollRunStrip.hpp"

#include "framework/Graphics.hpp"

#include <allegro.h>

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
        clear_to_color(bitmap_, colour);
}

void TextStrip::copyMasked(int x, int y) const
{
    if (bitmap_)
        masked_blit(bitmap_, backBuffer, 0, 0, x, y, bitmap_->w, bitmap_->h);
}

void TextStrip::copyBlended(int x, int y, int alpha) const
{
    if (!bitmap_)
        return;
    set_trans_blender(255, 255, 255, alpha);
    draw_trans_sprite(backBuffer, bitmap_, x, y);
}
