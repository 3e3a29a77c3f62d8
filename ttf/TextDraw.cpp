#include "ttf/Text.hpp"
#include "ttf/TextFont.hpp"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kRampSize = 256;
constexpr int kFullCoverage = 255;

// Coarse: skips texts wholly above, below or right of the clip rectangle;
// putpixel's own clipping does the rest.
bool culled(const BITMAP* bitmap, const TextFont* font, int x, int y)
{
    return static_cast<long long>(y) + font->height < bitmap->ct || bitmap->cb < y
           || bitmap->cr < x;
}

// Calls draw(entry, x, y) for every character of the text with its pen
// position, stopping at the first one that starts right of the clip
// rectangle, whose glyph is then not even looked up.
template <typename DrawGlyph>
void walkText(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, DrawGlyph draw)
{
    for (int code = ugetxc(&text); code != 0; code = ugetxc(&text)) {
        if (bitmap->cr < x)
            break;
        const GlyphCacheEntry* entry = text_font_glyph_for(font, code);
        if (!entry)
            continue;
        draw(*entry, x, y);
        if (entry->advance_x != 0)
            x += entry->advance_x + font->spacing;
        if (entry->advance_y != 0)
            y += entry->advance_y + font->spacing;
    }
}

// The part of a glyph bitmap that lands inside the clip rectangle, in the
// bitmap's own rows and columns. With clipping turned off, putpixel draws
// wherever it is told, so nothing is cut.
struct Span {
    int firstRow, endRow, firstColumn, endColumn;
};

Span visiblePart(const BITMAP* bitmap, int width, int height, int left, int top)
{
    if (!bitmap->clip)
        return {0, height, 0, width};
    return {std::max(0, bitmap->ct - top), std::min(height, bitmap->cb - top),
            std::max(0, bitmap->cl - left), std::min(width, bitmap->cr - left)};
}

// Calls plot(px, py, value) for every non-zero byte of a glyph bitmap whose
// top left pixel lands at (left, top), leaving out what the clip rectangle
// would drop anyway.
template <typename Plot>
void forEachSetPixel(const BITMAP* bitmap, const unsigned char* pixels, int width, int height,
                     int left, int top, Plot plot)
{
    const Span span = visiblePart(bitmap, width, height, left, top);
    for (int row = span.firstRow; row < span.endRow; ++row) {
        const unsigned char* source = pixels + static_cast<size_t>(row) * width;
        for (int column = span.firstColumn; column < span.endColumn; ++column) {
            if (source[column] != 0)
                plot(left + column, top + row, source[column]);
        }
    }
}

// On a 32-bit memory bitmap with clipping on and solid drawing in force,
// putpixel does nothing but clip and store: storing straight into the rows
// gives the same pixels without two indirect calls for each, which are most
// of the cost of a line of text.
bool storesDirectly(BITMAP* bitmap)
{
    return is_memory_bitmap(bitmap) && bitmap_color_depth(bitmap) == 32 && bitmap->clip
           && _drawing_mode == DRAW_MODE_SOLID;
}

// What forEachSetPixel with putpixel gives on such a bitmap. A clear byte
// stores the pixel that is there already, so the loop has no branch to
// mispredict at every edge of a stroke.
template <typename PixelOf>
void storeSetPixels(BITMAP* bitmap, const unsigned char* pixels, int width, int height, int left,
                    int top, PixelOf pixelOf)
{
    const Span span = visiblePart(bitmap, width, height, left, top);
    for (int row = span.firstRow; row < span.endRow; ++row) {
        const unsigned char* source = pixels + static_cast<size_t>(row) * width;
        auto* target = reinterpret_cast<std::uint32_t*>(bitmap->line[top + row]);
        for (int column = span.firstColumn; column < span.endColumn; ++column) {
            const unsigned char value = source[column];
            std::uint32_t& pixel = target[left + column];
            pixel = value != 0 ? pixelOf(value) : pixel;
        }
    }
}

void drawBox(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int background)
{
    const int width = text_width(font, text);
    rectfill(bitmap, x, y, x + width - 1, y + font->height - 1, background);
}

// Coverage to pixel, so that text on a box costs one look-up per pixel
// instead of a blend. Where the text is darker than the box, a channel's
// step is one short of the difference, and full coverage ends one above the
// text's value: black on white tops out at (1, 1, 1).
void buildRamp(int colour, int background, int (&ramp)[kRampSize])
{
    const int text[3] = {getr(colour), getg(colour), getb(colour)};
    const int back[3] = {getr(background), getg(background), getb(background)};
    int step[3];
    int sum[3];
    for (int channel = 0; channel < 3; ++channel) {
        step[channel] = text[channel] == back[channel] ? 0 : text[channel] - back[channel] + 1;
        sum[channel] = back[channel] * 256;
    }
    // makecol at 32 bits is these shifts; doing them here spares 256 calls
    // through its switch on the depth.
    const bool trueColour = get_color_depth() == 32;
    for (int& entry : ramp) {
        const int r = sum[0] >> 8;
        const int g = sum[1] >> 8;
        const int b = sum[2] >> 8;
        entry = trueColour
                    ? (r << _rgb_r_shift_32) | (g << _rgb_g_shift_32) | (b << _rgb_b_shift_32)
                    : makecol(r, g, b);
        for (int channel = 0; channel < 3; ++channel)
            sum[channel] += step[channel];
    }
}

// Without a box, partial coverage is blended onto what the bitmap holds.
void plotBlended(BITMAP* bitmap, int x, int y, int colour, unsigned char coverage)
{
    if (coverage == kFullCoverage) {
        solid_mode();
    } else {
        drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
        set_trans_blender(0, 0, 0, coverage);
    }
    putpixel(bitmap, x, y, colour);
}

void drawSmoothGlyphs(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour,
                      int background)
{
    int ramp[kRampSize];
    const bool boxed = background >= 0;
    if (boxed)
        buildRamp(colour, background, ramp);
    const bool direct = boxed && storesDirectly(bitmap);
    walkText(bitmap, font, text, x, y, [&](const GlyphCacheEntry& glyph, int penX, int penY) {
        if (!glyph.grey_valid || !glyph.grey_pixels)
            return;
        const int left = penX + glyph.grey_left;
        const int top = penY + font->ascent - glyph.grey_top;
        if (direct) {
            storeSetPixels(
                bitmap, glyph.grey_pixels, glyph.grey_width, glyph.grey_height, left, top,
                [&](unsigned char coverage) { return static_cast<std::uint32_t>(ramp[coverage]); });
            return;
        }
        forEachSetPixel(bitmap, glyph.grey_pixels, glyph.grey_width, glyph.grey_height, left, top,
                        [&](int px, int py, unsigned char coverage) {
                            if (boxed)
                                putpixel(bitmap, px, py, ramp[coverage]);
                            else
                                plotBlended(bitmap, px, py, colour, coverage);
                        });
    });
}

} // namespace

int text_width(TextFont* font, const char* text)
{
    if (!font || !text)
        return 0;
    int width = 0;
    for (int code = ugetxc(&text); code != 0; code = ugetxc(&text)) {
        const GlyphCacheEntry* entry = text_font_glyph_for(font, code);
        if (entry && entry->advance_x != 0)
            width += entry->advance_x + font->spacing;
    }
    return width;
}

void draw_text_smooth_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour,
                         int background)
{
    if (!bitmap || !font || !text || culled(bitmap, font, x, y))
        return;
    if (background >= 0)
        drawBox(bitmap, font, text, x, y, background);
    acquire_bitmap(bitmap);
    drawSmoothGlyphs(bitmap, font, text, x, y, colour, background);
    release_bitmap(bitmap);
    // Blending left the translucent mode set; leave solid drawing behind.
    if (background < 0)
        solid_mode();
}

void draw_text_sharp_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour,
                        int background)
{
    if (!bitmap || !font || !text || culled(bitmap, font, x, y))
        return;
    if (background >= 0)
        drawBox(bitmap, font, text, x, y, background);
    acquire_bitmap(bitmap);
    const bool direct = storesDirectly(bitmap);
    walkText(bitmap, font, text, x, y, [&](const GlyphCacheEntry& glyph, int penX, int penY) {
        if (!glyph.mono_valid || !glyph.mono_pixels)
            return;
        const int left = penX + glyph.mono_left;
        const int top = penY + font->ascent - glyph.mono_top;
        if (direct) {
            storeSetPixels(bitmap, glyph.mono_pixels, glyph.mono_width, glyph.mono_height, left,
                           top, [&](unsigned char) { return static_cast<std::uint32_t>(colour); });
            return;
        }
        forEachSetPixel(bitmap, glyph.mono_pixels, glyph.mono_width, glyph.mono_height, left, top,
                        [&](int px, int py, unsigned char) { putpixel(bitmap, px, py, colour); });
    });
    release_bitmap(bitmap);
}

void draw_text_smooth(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour)
{
    draw_text_smooth_bg(bitmap, font, text, x, y, colour, text_backdrop);
}

void draw_text_sharp(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour)
{
    draw_text_sharp_bg(bitmap, font, text, x, y, colour, text_backdrop);
}
