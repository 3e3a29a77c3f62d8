#include "TextTestKit.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>

namespace textkit {

namespace {

void startAllegroOnce()
{
    static const bool started = [] {
        if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
            throw std::runtime_error("Allegro did not start without a display");
        set_color_depth(32);
        return true;
    }();
    (void)started;
}

unsigned readU32(const std::vector<unsigned char>& data, size_t at)
{
    return (unsigned(data.at(at)) << 24) | (unsigned(data.at(at + 1)) << 16)
           | (unsigned(data.at(at + 2)) << 8) | unsigned(data.at(at + 3));
}

void writeI16(std::vector<unsigned char>& data, size_t at, int value)
{
    data.at(at) = static_cast<unsigned char>((value >> 8) & 0xFF);
    data.at(at + 1) = static_cast<unsigned char>(value & 0xFF);
}

// Where a table's record lies in an sfnt font's table directory.
size_t tableRecord(const std::vector<unsigned char>& font, const char* tag)
{
    const unsigned tableCount = (unsigned(font.at(4)) << 8) | font.at(5);
    for (unsigned i = 0; i < tableCount; ++i) {
        const size_t record = 12 + 16 * size_t(i);
        if (std::memcmp(&font.at(record), tag, 4) == 0)
            return record;
    }
    throw std::runtime_error(std::string("no table ") + tag);
}

size_t tableOffset(const std::vector<unsigned char>& font, const char* tag)
{
    return readU32(font, tableRecord(font, tag) + 8);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

std::vector<unsigned char> readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<unsigned char> withVerticalMetrics(std::vector<unsigned char> font, int ascender,
                                               int descender)
{
    const size_t hhea = tableOffset(font, "hhea");
    writeI16(font, hhea + 4, ascender);
    writeI16(font, hhea + 6, descender);
    const size_t os2 = tableOffset(font, "OS/2");
    writeI16(font, os2 + 68, ascender);   // sTypoAscender
    writeI16(font, os2 + 70, descender);  // sTypoDescender
    writeI16(font, os2 + 74, ascender);   // usWinAscent
    writeI16(font, os2 + 76, -descender); // usWinDescent
    return font;
}

std::vector<unsigned char> withUnitsPerEm(std::vector<unsigned char> font, int unitsPerEm)
{
    writeI16(font, tableOffset(font, "head") + 18, unitsPerEm);
    return font;
}

std::vector<unsigned char> withoutCharmap(std::vector<unsigned char> font)
{
    std::memcpy(&font.at(tableRecord(font, "cmap")), "xmap", 4);
    std::memcpy(&font.at(tableRecord(font, "post")), "xost", 4);
    return font;
}

std::vector<unsigned char> withBrokenGlyph(std::vector<unsigned char> font, int glyph)
{
    const size_t head = tableOffset(font, "head");
    const bool longOffsets = font.at(head + 51) != 0; // indexToLocFormat
    const size_t loca = tableOffset(font, "loca");
    const size_t offset = longOffsets ? readU32(font, loca + 4 * size_t(glyph))
                                      : 2
                                            * ((unsigned(font.at(loca + 2 * size_t(glyph))) << 8)
                                               | font.at(loca + 2 * size_t(glyph) + 1));
    writeI16(font, tableOffset(font, "glyf") + offset, 0x7FF0); // numberOfContours
    return font;
}

long long measureAt(FT_Face face, int n)
{
    EXPECT_EQ(FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(n)), 0);
    const FT_Size_Metrics& m = face->size->metrics;
    return std::llabs(static_cast<long long>(m.ascender >> 6))
           + std::llabs(static_cast<long long>(m.descender >> 6));
}

TextTest::TextTest()
{
    startAllegroOnce();
    EXPECT_EQ(text_system_startup(), 0);
}

TextTest::~TextTest()
{
    fonts_.clear();
    bitmaps_.clear();
    solid_mode();
    text_set_backdrop(0);
    text_system_shutdown();
}

TextFont* TextTest::keep(TextFont* font)
{
    fonts_.emplace_back(font);
    return font;
}

TextFont* TextTest::load(const char* path, int height)
{
    TextFont* font = keep(text_font_load(path));
    EXPECT_NE(font, nullptr) << path;
    if (font && height > 0) {
        EXPECT_EQ(text_font_set_height(font, height), 0) << path << " at " << height;
    }
    return font;
}

BITMAP* TextTest::bitmap(int w, int h, int colour)
{
    BITMAP* b = create_bitmap(w, h);
    bitmaps_.emplace_back(b);
    clear_to_color(b, colour);
    return b;
}

Rgb TextTest::at(BITMAP* b, int x, int y)
{
    const int c = getpixel(b, x, y);
    return {getr(c), getg(c), getb(c)};
}

int TextTest::countOtherThan(BITMAP* b, int colour)
{
    int count = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x)
            count += getpixel(b, x, y) != colour;
    return count;
}

bool TextTest::samePixels(BITMAP* a, BITMAP* b)
{
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return false;
    return true;
}

TextTest::Box TextTest::boundsOtherThan(BITMAP* b, int colour)
{
    Box box{-1, -1, -1, -1};
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            if (getpixel(b, x, y) == colour)
                continue;
            if (box.left < 0) {
                box = {x, y, x, y};
                continue;
            }
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

} // namespace textkit
