#pragma once

struct BITMAP;

// The library's drawing operations that fill most of a frame, done many
// pixels at a time on the game's 32-bit memory bitmaps, with exactly the
// library's pixels. Bitmaps of another kind, and bitmaps that share pixels
// (one a sub-bitmap of the other, or two parts of one parent), go to the
// library itself.

// blit(from, to, ...).
void plainBlit(BITMAP* from, BITMAP* to, int fromX, int fromY, int toX, int toY, int width,
               int height);

// masked_blit(from, to, ...): the same clipping, every pixel but the mask
// colour copied.
void maskedBlit(BITMAP* from, BITMAP* to, int fromX, int fromY, int toX, int toY, int width,
                int height);

// blit(under, to, ...) and then masked_blit(over, to, ...) onto the same
// rectangle, in one pass; nothing is clipped when all three rectangles lie
// inside their bitmaps and `to`'s clip rectangle.
void maskedBlitOver(BITMAP* over, int overX, int overY, BITMAP* under, int underX, int underY,
                    BITMAP* to, int toX, int toY, int width, int height);

// clear_to_color(bitmap, colour): the clip rectangle filled with colour.
void clearBitmap(BITMAP* bitmap, int colour);
// hline across the clip rectangle's width at row y, in solid mode.
void clearRow(BITMAP* bitmap, int y, int colour);

// pivot_scaled_sprite_flip(target, sprite, x, y, pivotX, pivotY, angle,
// 1.0, FALSE), all in the library's 16.16 fixed point: the sprite's pivot
// at (x, y), turned clockwise by angle (256 to a full turn), magenta left
// out.
void pivotSprite(BITMAP* target, BITMAP* sprite, int x, int y, int pivotX, int pivotY, int angle);

// What draw_trans_sprite of an all-black bitmap as large as `target` at
// (0, 0) leaves after set_trans_blender(255, 255, 255, alpha), for alpha
// 0 to 255; the blender is set that way too.
void blendBlackOver(BITMAP* target, int alpha);
