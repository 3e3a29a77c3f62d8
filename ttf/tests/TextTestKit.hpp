#pragma once

// Shared set-up of the renderer's tests: Allegro without a display, a started
// renderer, real fonts from the system's font packages and 32-bit memory
// bitmaps to draw into.

#include "ttf/Text.hpp"
#include "ttf/TextFont.hpp"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace textkit {

// fonts-dejavu-core
constexpr const char* kSansPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// xfonts-base: faces of bitmaps only, one fixed size each.
constexpr const char* kFixed10x20Path = "/usr/share/fonts/X11/misc/10x20-ISO8859-1.pcf.gz";
constexpr const char* kFixed6x13Path = "/usr/share/fonts/X11/misc/6x13.pcf.gz";

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

struct FontDeleter {
    void operator()(TextFont* font) const { text_font_destroy(font); }
};
using FontPtr = std::unique_ptr<TextFont, FontDeleter>;

struct BitmapDeleter {
    void operator()(BITMAP* bitmap) const { destroy_bitmap(bitmap); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

std::vector<unsigned char> readFile(const char* path);

// The font's bytes with its vertical metrics (in font units) replaced in the
// hhea and OS/2 tables, so that pixel sizes measure what a test needs.
std::vector<unsigned char> withVerticalMetrics(std::vector<unsigned char> font, int ascender,
                                               int descender);

// The font's bytes with its units to the em replaced: every outline and
// metric of the font grows or shrinks with it.
std::vector<unsigned char> withUnitsPerEm(std::vector<unsigned char> font, int unitsPerEm);

// The font's bytes with its cmap and post tables hidden, so that FreeType
// finds no charmap and cannot make one from glyph names.
std::vector<unsigned char> withoutCharmap(std::vector<unsigned char> font);

// The font's bytes with one glyph's outline made unreadable: it claims more
// contours than its data holds.
std::vector<unsigned char> withBrokenGlyph(std::vector<unsigned char> font, int glyph);

// What the line box of FreeType pixel size n measures on the face; leaves the
// face at that size.
long long measureAt(FT_Face face, int n);

// A started renderer for every test, stopped after the test's fonts are gone.
class TextTest : public ::testing::Test {
protected:
    TextTest();
    ~TextTest() override;

    // Loads a font and, unless height is 0, sets it; the test fails on a null
    // handle or a refused height.
    TextFont* load(const char* path, int height = 0);
    TextFont* keep(TextFont* font);
    // A w by h 32-bit bitmap cleared to one colour.
    BITMAP* bitmap(int w, int h, int colour);

    static Rgb at(BITMAP* b, int x, int y);
    static int white() { return makecol(255, 255, 255); }
    static int black() { return makecol(0, 0, 0); }
    // Pixels of b that differ from colour.
    static int countOtherThan(BITMAP* b, int colour);
    // Pixel by pixel equality of two bitmaps of the same size.
    static bool samePixels(BITMAP* a, BITMAP* b);
    // The smallest box around the pixels that differ from colour; {-1, ...}
    // when there are none.
    struct Box {
        int left, top, right, bottom;
    };
    static Box boundsOtherThan(BITMAP* b, int colour);

private:
    std::vector<FontPtr> fonts_;
    std::vector<BitmapPtr> bitmaps_;
};

} // namespace textkit
