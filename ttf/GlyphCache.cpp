#include "ttf/GlyphCache.hpp"
#include "ttf/TextFont.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include FT_GLYPH_H
#include FT_OUTLINE_H

namespace {

// Outlines are hinted by FreeType's auto-hinter, never by a font's own
// TrueType instructions: the text then looks the same whichever way the
// installed FreeType was built. Embedded bitmaps are still used where the
// face has them at the size set.
constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_FORCE_AUTOHINT;

// A damaged font can give a glyph an outline thousands of pixels across,
// which each style would keep at a byte a pixel. No glyph of the game's font
// or of the DejaVu and ParaType faces is wider or taller than 4.3 times the
// height (most stay under 1.8), so ten times leaves them all alone, while
// both styles of a glyph at 300 pixels take 18 MB at most. It counts
// against the height asked for, not the pixel size chosen for it, which a
// face with damaged vertical metrics can push far up.
constexpr long long kLargestGlyphSideInHeights = 10;

// Whole pixels an outline's box covers along one axis, rounded outwards as
// the smooth renderer rounds. A damaged outline's 26.6 values can be huge, so
// they are cut to pixels before the subtraction, in 64 bits.
long long pixelsCovered(FT_Pos low, FT_Pos high)
{
    const long long first = static_cast<long long>(low >> 6);
    const long long last = static_cast<long long>(high >> 6) + ((high & 63) != 0 ? 1 : 0);
    return last - first;
}

// Whether an outline would render wider or taller than a font of this height
// allows. A font that has no height yet sits at FreeType's smallest size, one
// pixel, and counts as 1.
bool outlineTooLarge(const FT_Outline& outline, int height)
{
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    const long long largest = kLargestGlyphSideInHeights * std::max(height, 1);
    return pixelsCovered(box.xMin, box.xMax) > largest
           || pixelsCovered(box.yMin, box.yMax) > largest;
}

// The fields of one drawing style of an entry.
struct Style {
    int& valid;
    int& width;
    int& height;
    int& left;
    int& top;
    unsigned char*& pixels;
};

// One row after another from the top. A bitmap that flows upwards (negative
// pitch) keeps its top row at the end of its buffer.
const unsigned char* sourceRow(const FT_Bitmap& bitmap, unsigned row)
{
    const unsigned char* top = bitmap.buffer;
    if (bitmap.pitch < 0)
        top += static_cast<size_t>(-bitmap.pitch) * (bitmap.rows - 1);
    return top + static_cast<ptrdiff_t>(bitmap.pitch) * row;
}

void copyMono(const FT_Bitmap& bitmap, unsigned char* out)
{
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const unsigned char* row = sourceRow(bitmap, r);
        for (unsigned c = 0; c < bitmap.width; ++c)
            *out++ = row[c >> 3] & (0x80 >> (c & 7));
    }
}

// Fills one style from the bitmap glyph; leaves it invalid when its pixels
// cannot be allocated.
void fillStyle(const FT_BitmapGlyph glyph, Style style,
               void (*copy)(const FT_Bitmap&, unsigned char*))
{
    const FT_Bitmap& bitmap = glyph->bitmap;
    const size_t bytes = static_cast<size_t>(bitmap.width) * bitmap.rows;
    unsigned char* pixels = nullptr;
    if (bytes > 0) {
        pixels = static_cast<unsigned char*>(std::malloc(bytes));
        if (!pixels)
            return;
        copy(bitmap, pixels);
    }
    style.valid = 1;
    style.width = static_cast<int>(bitmap.width);
    style.height = static_cast<int>(bitmap.rows);
    style.left = glyph->left;
    style.top = glyph->top;
    style.pixels = pixels;
}

// Renders a copy of the master in the given mode, unless FreeType delivered a
// bitmap already, which is taken as it is: a style whose pixel mode the
// bitmap lacks stays invalid.
void renderStyle(FT_Glyph master, FT_Render_Mode mode, unsigned char pixelMode, Style style,
                 void (*copy)(const FT_Bitmap&, unsigned char*))
{
    FT_Glyph glyph = nullptr;
    if (FT_Glyph_Copy(master, &glyph) != 0)
        return;
    if (glyph->format != FT_GLYPH_FORMAT_BITMAP)
        FT_Glyph_To_Bitmap(&glyph, mode, nullptr, 1);
    if (glyph->format == FT_GLYPH_FORMAT_BITMAP) {
        const auto bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
        if (bitmapGlyph->bitmap.pixel_mode == pixelMode)
            fillStyle(bitmapGlyph, style, copy);
    }
    FT_Done_Glyph(glyph);
}

void fillEntry(FT_Face face, int height, int glyph, GlyphCacheEntry& entry)
{
    // Loaded first, so a glyph FreeType cannot give is not asked for again
    // before the next flush: it draws nothing and does not move the pen.
    entry.loaded = 1;
    entry.mono_valid = 0;
    entry.grey_valid = 0;
    entry.advance_x = 0;
    entry.advance_y = 0;
    if (FT_Load_Glyph(face, static_cast<FT_UInt>(glyph), kLoadFlags) != 0)
        return;
    entry.advance_x = static_cast<int>(face->glyph->advance.x >> 6);
    entry.advance_y = static_cast<int>(face->glyph->advance.y >> 6);
    // Left out rather than rendered: it draws nothing but still moves the pen.
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE
        && outlineTooLarge(face->glyph->outline, height))
        return;

    FT_Glyph master = nullptr;
    if (FT_Get_Glyph(face->glyph, &master) != 0)
        return;
    renderStyle(master, FT_RENDER_MODE_MONO, FT_PIXEL_MODE_MONO,
                Style{entry.mono_valid, entry.mono_width, entry.mono_height, entry.mono_left,
                      entry.mono_top, entry.mono_pixels},
                copyMono);
    renderStyle(master, FT_RENDER_MODE_NORMAL, FT_PIXEL_MODE_GRAY,
                Style{entry.grey_valid, entry.grey_width, entry.grey_height, entry.grey_left,
                      entry.grey_top, entry.grey_pixels},
                text_copy_grey_bitmap);
    FT_Done_Glyph(master);
}

} // namespace

int text_glyph_index(const TextFont* font, int code)
{
    const FT_Face face = font->face;
    const long long index =
        face->charmap ? static_cast<long long>(FT_Get_Char_Index(face, static_cast<FT_ULong>(code)))
                      : code;
    // Without a charmap the code itself is the index and may name no glyph.
    return index >= 0 && index < face->num_glyphs ? static_cast<int>(index) : 0;
}

void text_font_cache_glyph(TextFont* font, int glyph)
{
    if (glyph < 0 || glyph >= font->face->num_glyphs)
        return;
    GlyphCacheEntry& entry = font->glyphs[glyph];
    if (!entry.loaded)
        fillEntry(font->face, font->height, glyph, entry);
}

const GlyphCacheEntry* text_font_glyph_for(TextFont* font, int code)
{
    if (font->face->num_glyphs <= 0)
        return nullptr;
    const int glyph = text_glyph_index(font, code);
    text_font_cache_glyph(font, glyph);
    return &font->glyphs[glyph];
}

// Sixteen levels come out as 0, 16, ..., 240: the stretch never quite
// reaches full coverage. A bitmap that reports 0 levels keeps its values,
// having no scale to stretch by.
void text_copy_grey_bitmap(const FT_Bitmap& bitmap, unsigned char* out)
{
    const int factor = bitmap.num_grays > 0 ? 256 / bitmap.num_grays : 1;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        std::memcpy(out, sourceRow(bitmap, r), bitmap.width);
        if (factor >= 2 && factor <= 255) {
            for (unsigned c = 0; c < bitmap.width; ++c)
                out[c] = static_cast<unsigned char>(out[c] * factor);
        }
        out += bitmap.width;
    }
}

void text_font_flush_cache(TextFont* font)
{
    if (!font->glyphs)
        return;
    for (FT_Long i = 0; i < font->face->num_glyphs; ++i) {
        GlyphCacheEntry& entry = font->glyphs[i];
        if (!entry.loaded)
            continue;
        entry.loaded = 0;
        std::free(entry.mono_pixels);
        entry.mono_pixels = nullptr;
        std::free(entry.grey_pixels);
        entry.grey_pixels = nullptr;
    }
}
