#pragma once

// The glyph cache of a font: each glyph rendered once per height, in both
// styles, to one byte per pixel. Internal to the renderer.

#include <cstdint>

struct FT_Bitmap_;
struct TextFont;

// Pixel buffers run row after row from the top, `width` bytes to a row.
// Sharp pixels hold the pixel's bit within its source byte (0x80 for columns
// 0, 8, ..., down to 0x01 for columns 7, 15, ...), so any non-zero byte is
// set. Smooth pixels hold the coverage, 0 to 255.
//
// left is the columns from the pen to the bitmap's first column; top the rows
// from the baseline up to its first row. A style's sizes, offsets and pixels
// are only meaningful while its valid flag is set; an empty render (a space)
// is valid with size 0 and null pixels.
struct GlyphCacheEntry {
    std::uint8_t loaded;
    int mono_width;
    int mono_height;
    int grey_width;
    int grey_height;
    int mono_left;
    int mono_top;
    int grey_left;
    int grey_top;
    int advance_x;
    int advance_y;
    int mono_valid;
    int grey_valid;
    unsigned char* mono_pixels;
    unsigned char* grey_pixels;
};

// The glyph index of a character code: through the face's charmap when it has
// one, else the code itself. Codes that name no glyph of the face give 0, the
// face's missing-glyph shape.
int text_glyph_index(const TextFont* font, int code);

// Fills the entry of a glyph unless it is filled already. Indexes outside the
// face's glyphs are ignored.
void text_font_cache_glyph(TextFont* font, int glyph);

// The filled entry of the character `code`, or null when the face has no
// glyphs at all.
const GlyphCacheEntry* text_font_glyph_for(TextFont* font, int code);

// Copies a grey bitmap to one byte per pixel, stretching fewer than 256
// levels towards 0..255; `out` holds width x rows bytes.
void text_copy_grey_bitmap(const FT_Bitmap_& bitmap, unsigned char* out);
