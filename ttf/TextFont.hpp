#pragma once

// The renderer's own view of a font. Only ttf/ and its tests include this;
// the game sees TextFont as an opaque handle (Text.hpp).

#include "ttf/GlyphCache.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

// The one FreeType library of the program; null while the renderer is stopped.
extern FT_Library text_library;
// 1 from a successful start to the next stop, else 0.
extern int text_started;
// Background of the drawing calls without a background argument; negative
// for none.
extern int text_backdrop;

// One face at one pixel height, with its glyph cache. Allocated by the loads,
// freed by text_font_destroy; every pointer is owned.
struct TextFont {
    FT_Face face;
    // The height last set with success (the requested one, not the measured
    // one), the FreeType pixel size chosen for it, and the size's ascender in
    // whole pixels. All 0 until the first success.
    int height;
    int pixel_size;
    int ascent;
    // The font's own copy of the data of a memory load; FreeType reads it
    // until the face is done.
    unsigned char* memory_copy;
    int memory_size;
    int spacing;
    // -1 for a scalable face, else its number of fixed sizes.
    int fixed_size_count;
    // One entry per glyph of the face, indexed by glyph index.
    GlyphCacheEntry* glyphs;
    // The fixed sizes' heights, then -1.
    int* sizes;
};

// Frees the pixels of every filled cache entry and marks them empty.
void text_font_flush_cache(TextFont* font);
