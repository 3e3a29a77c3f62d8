#include "TextTestKit.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include FT_OUTLINE_H

using namespace textkit;

namespace {

class GlyphCacheTest : public TextTest {};

constexpr int kFullBlock = 0x2588;
// fonts-paratype: the face the game ships as its own font.
constexpr const char* kGameFontPath = "/usr/share/fonts/truetype/paratype/PTN77F.ttf";

unsigned readU16(const std::vector<unsigned char>& data, size_t at)
{
    return (unsigned(data.at(at)) << 8) | data.at(at + 1);
}

unsigned readU32(const std::vector<unsigned char>& data, size_t at)
{
    return (readU16(data, at) << 16) | readU16(data, at + 2);
}

void writeU16(std::vector<unsigned char>& data, size_t at, unsigned value)
{
    data.at(at) = static_cast<unsigned char>((value >> 8) & 0xFF);
    data.at(at + 1) = static_cast<unsigned char>(value & 0xFF);
}

size_t tableOffset(const std::vector<unsigned char>& font, const char* tag)
{
    for (unsigned i = 0; i < readU16(font, 4); ++i) {
        const size_t record = 12 + 16 * size_t(i);
        if (std::memcmp(&font.at(record), tag, 4) == 0)
            return readU32(font, record + 8);
    }
    throw std::runtime_error(std::string("no table ") + tag);
}

size_t glyphOffset(const std::vector<unsigned char>& font, int glyph)
{
    const size_t loca = tableOffset(font, "loca");
    const bool longOffsets = readU16(font, tableOffset(font, "head") + 50) != 0;
    const size_t offset = longOffsets ? readU32(font, loca + 4 * size_t(glyph))
                                      : 2 * size_t(readU16(font, loca + 2 * size_t(glyph)));
    return tableOffset(font, "glyf") + offset;
}

// One axis of a simple glyph's points, read from `at` on: per point a byte
// (its sign in the flag), nothing (the same as before) or a signed word.
std::vector<long> readAxis(const std::vector<unsigned char>& font, size_t& at,
                           const std::vector<unsigned char>& flags, unsigned byteBit,
                           unsigned sameBit)
{
    std::vector<long> values;
    long value = 0;
    for (const unsigned char flag : flags) {
        if (flag & byteBit) {
            const long delta = font.at(at++);
            value += (flag & sameBit) ? delta : -delta;
        } else if (!(flag & sameBit)) {
            value += static_cast<std::int16_t>(readU16(font, at));
            at += 2;
        }
        values.push_back(value);
    }
    return values;
}

void writeScaledAxis(std::vector<unsigned char>& font, size_t& at, const std::vector<long>& values,
                     int factor)
{
    long previous = 0;
    for (const long value : values) {
        const long delta = (value - previous) * factor;
        if (delta < INT16_MIN || delta > INT16_MAX)
            throw std::runtime_error("a scaled move does not fit in a word");
        writeU16(font, at, static_cast<unsigned>(delta) & 0xFFFF);
        at += 2;
        previous = value;
    }
}

// The font's bytes with one simple glyph's outline scaled `factor` times
// about its origin, as a damaged file may hold it. The glyph is rewritten in
// its own place, every move a word and without its hinting instructions,
// which the cache never runs.
std::vector<unsigned char> withScaledGlyph(std::vector<unsigned char> font, int glyph, int factor)
{
    const size_t start = glyphOffset(font, glyph);
    const int contours = static_cast<std::int16_t>(readU16(font, start));
    if (contours <= 0)
        throw std::runtime_error("not a simple glyph");
    const size_t instructions = start + 10 + 2 * size_t(contours);
    const unsigned points = readU16(font, instructions - 2) + 1;
    size_t at = instructions + 2 + readU16(font, instructions);
    std::vector<unsigned char> flags;
    while (flags.size() < points) {
        const unsigned char flag = font.at(at++);
        const unsigned repeats = (flag & 0x08) ? font.at(at++) : 0;
        flags.insert(flags.end(), repeats + 1, flag);
    }
    flags.resize(points);
    const std::vector<long> xs = readAxis(font, at, flags, 0x02, 0x10);
    const std::vector<long> ys = readAxis(font, at, flags, 0x04, 0x20);
    const size_t end = at;

    at = instructions;
    writeU16(font, at, 0);
    at += 2;
    for (const unsigned char flag : flags)
        font.at(at++) = flag & 0x01; // on or off the curve; both moves words
    writeScaledAxis(font, at, xs, factor);
    writeScaledAxis(font, at, ys, factor);
    if (at > end)
        throw std::runtime_error("the scaled glyph outgrew its place");
    return font;
}

} // namespace

TEST_F(GlyphCacheTest, FillsAGlyphOncePerHeightInBothStyles)
{
    TextFont* font = load(kSansPath, 24);
    const int glyph = text_glyph_index(font, 'g');
    text_font_cache_glyph(font, glyph);
    GlyphCacheEntry& entry = font->glyphs[glyph];
    ASSERT_TRUE(entry.loaded);
    ASSERT_TRUE(entry.mono_valid && entry.grey_valid) << "an outline fills both styles at once";
    ASSERT_NE(entry.mono_pixels, nullptr);
    ASSERT_NE(entry.grey_pixels, nullptr);
    EXPECT_GT(entry.advance_x, 0);
    EXPECT_EQ(entry.advance_y, 0);
    EXPECT_LT(entry.grey_top - entry.grey_height, 0) << "g reaches below the baseline";

    // A second fill must not render again: what the entry holds stays.
    unsigned char* grey = entry.grey_pixels;
    grey[0] = 0x5A;
    text_font_cache_glyph(font, glyph);
    EXPECT_EQ(entry.grey_pixels, grey);
    EXPECT_EQ(grey[0], 0x5A);

    // After a new height, the next use renders afresh at the new size.
    const int smallHeight = entry.grey_height;
    ASSERT_EQ(text_font_set_height(font, 36), 0);
    EXPECT_FALSE(entry.loaded);
    text_font_cache_glyph(font, glyph);
    EXPECT_TRUE(entry.loaded);
    EXPECT_GT(entry.grey_height, smallHeight);
}

TEST_F(GlyphCacheTest, SpaceIsValidButEmptyAndStillAdvances)
{
    TextFont* font = load(kSansPath, 24);
    const GlyphCacheEntry* space = text_font_glyph_for(font, ' ');
    ASSERT_TRUE(space->loaded);
    EXPECT_EQ(space->mono_valid, 1);
    EXPECT_EQ(space->grey_valid, 1);
    EXPECT_EQ(space->grey_width * space->grey_height, 0);
    EXPECT_EQ(space->grey_pixels, nullptr);
    // FreeType's one-colour renderer may hand back a single clear pixel.
    const int monoCount = space->mono_width * space->mono_height;
    EXPECT_EQ(space->mono_pixels == nullptr, monoCount == 0);
    for (int i = 0; i < monoCount; ++i)
        EXPECT_EQ(space->mono_pixels[i], 0);
    EXPECT_GT(space->advance_x, 0);
}

TEST_F(GlyphCacheTest, SharpPixelsHoldTheirBitAndSmoothOnesTheirCoverage)
{
    TextFont* font = load(kSansPath, 24);
    const GlyphCacheEntry* block = text_font_glyph_for(font, kFullBlock);
    ASSERT_NE(text_glyph_index(font, kFullBlock), 0) << "the face has a full block";
    ASSERT_GE(block->mono_width, 8);

    // Every pixel of a full block is set.
    for (int row = 0; row < block->mono_height; ++row) {
        for (int column = 0; column < block->mono_width; ++column) {
            ASSERT_EQ(block->mono_pixels[row * block->mono_width + column], 0x80 >> (column % 8))
                << "row " << row << ", column " << column;
        }
    }
    const unsigned char* grey = block->grey_pixels;
    const int greyCount = block->grey_width * block->grey_height;
    EXPECT_EQ(*std::max_element(grey, grey + greyCount), 255);
    EXPECT_EQ(grey[greyCount / 2 + block->grey_width / 2], 255);
}

TEST_F(GlyphCacheTest, BitmapOnlyFaceFillsOnlyTheSharpStyle)
{
    TextFont* font = load(kFixed10x20Path);
    const GlyphCacheEntry* a = text_font_glyph_for(font, 'A');
    ASSERT_TRUE(a->loaded);
    EXPECT_EQ(a->mono_valid, 1);
    EXPECT_EQ(a->grey_valid, 0);
    EXPECT_EQ(a->grey_pixels, nullptr);
    EXPECT_EQ(a->advance_x, 10);
    ASSERT_NE(a->mono_pixels, nullptr);
    int set = 0;
    for (int row = 0; row < a->mono_height; ++row) {
        for (int column = 0; column < a->mono_width; ++column) {
            const int value = a->mono_pixels[row * a->mono_width + column];
            ASSERT_TRUE(value == 0 || value == (0x80 >> (column % 8)));
            set += value != 0;
        }
    }
    EXPECT_GT(set, 10);
}

TEST_F(GlyphCacheTest, CharactersMapThroughTheCharmapToGlyphZeroWhenMissing)
{
    TextFont* font = load(kSansPath, 24);
    EXPECT_EQ(text_glyph_index(font, 'A'), static_cast<int>(FT_Get_Char_Index(font->face, 'A')));
    EXPECT_NE(text_glyph_index(font, 'A'), 0);
    EXPECT_EQ(text_glyph_index(font, 0x10FFFD), 0) << "a private character the face lacks";
    EXPECT_EQ(text_glyph_index(font, -1), 0);
}

TEST_F(GlyphCacheTest, WithoutACharmapTheCodeIsTheGlyphIndexWhileItNamesAGlyph)
{
    const std::vector<unsigned char> bytes = withoutCharmap(readFile(kSansPath));
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->face->charmap, nullptr);
    ASSERT_EQ(text_font_set_height(font, 24), 0);
    const int glyphCount = static_cast<int>(font->face->num_glyphs);

    EXPECT_EQ(text_glyph_index(font, 65), 65);
    EXPECT_EQ(text_font_glyph_for(font, 65), &font->glyphs[65]);
    EXPECT_TRUE(font->glyphs[65].loaded);

    EXPECT_EQ(text_glyph_index(font, glyphCount - 1), glyphCount - 1);
    EXPECT_EQ(text_glyph_index(font, glyphCount), 0);
    EXPECT_EQ(text_glyph_index(font, 0x7FFFFFFF), 0);
    EXPECT_EQ(text_font_glyph_for(font, glyphCount + 100), &font->glyphs[0]);
    text_font_cache_glyph(font, glyphCount); // ignored, not written past the cache
    text_font_cache_glyph(font, -3);
    EXPECT_GT(text_width(font, "\xf4\x8f\xbf\xbf"), 0) << "drawn as the missing-glyph shape";
}

TEST_F(GlyphCacheTest, GlyphThatCannotBeLoadedIsFilledAsNothing)
{
    TextFont* intact = load(kSansPath, 24);
    const int glyph = text_glyph_index(intact, 'B');
    const std::vector<unsigned char> bytes = withBrokenGlyph(readFile(kSansPath), glyph);
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(text_font_set_height(font, 24), 0);
    ASSERT_NE(FT_Load_Glyph(font->face, static_cast<FT_UInt>(glyph), FT_LOAD_DEFAULT), 0)
        << "the broken glyph must really fail to load";

    const GlyphCacheEntry* broken = text_font_glyph_for(font, 'B');
    EXPECT_TRUE(broken->loaded) << "not asked for again before the next flush";
    EXPECT_EQ(broken->mono_valid, 0);
    EXPECT_EQ(broken->grey_valid, 0);
    EXPECT_EQ(broken->mono_pixels, nullptr);
    EXPECT_EQ(broken->grey_pixels, nullptr);
    EXPECT_EQ(broken->advance_x, 0);
    EXPECT_EQ(broken->advance_y, 0);

    text_font_set_spacing(font, 2);
    EXPECT_EQ(text_width(font, "ABA"), text_width(font, "AA")) << "no advance, no spacing";
    BITMAP* b = bitmap(100, 30, black());
    draw_text_smooth_bg(b, font, "ABA", 0, 0, white(), -1);
    draw_text_sharp_bg(b, font, "ABA", 0, 0, white(), -1);
    EXPECT_GT(countOtherThan(b, black()), 0);
}

TEST_F(GlyphCacheTest, GlyphFarLargerThanTheHeightIsLeftOutButStillAdvances)
{
    constexpr int kHeight = 300;
    TextFont* intact = load(kGameFontPath, kHeight);
    // M, as no letter the auto-hinter measures the face by, leaves the
    // other glyphs' hinting alone.
    const int glyph = text_glyph_index(intact, 'M');
    const std::vector<unsigned char> bytes = withScaledGlyph(readFile(kGameFontPath), glyph, 40);
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(text_font_set_height(font, kHeight), 0);

    const GlyphCacheEntry* huge = text_font_glyph_for(font, 'M');
    EXPECT_TRUE(huge->loaded);
    EXPECT_EQ(huge->mono_valid, 0);
    EXPECT_EQ(huge->grey_valid, 0);
    EXPECT_EQ(huge->mono_pixels, nullptr);
    EXPECT_EQ(huge->grey_pixels, nullptr);

    // Loaded as the cache loads it: the outline really spans thousands of
    // pixels, and the entry keeps the advance FreeType gives.
    ASSERT_EQ(FT_Load_Glyph(font->face, static_cast<FT_UInt>(glyph),
                            FT_LOAD_DEFAULT | FT_LOAD_FORCE_AUTOHINT),
              0);
    FT_BBox box;
    FT_Outline_Get_CBox(&font->face->glyph->outline, &box);
    EXPECT_GT((box.xMax - box.xMin) >> 6, 15 * kHeight);
    EXPECT_GT((box.yMax - box.yMin) >> 6, 15 * kHeight);
    EXPECT_GT(huge->advance_x, 0);
    EXPECT_EQ(huge->advance_x, font->face->glyph->advance.x >> 6);
    EXPECT_EQ(huge->advance_y, font->face->glyph->advance.y >> 6);

    // A glyph the damage did not touch renders as in the intact font.
    const GlyphCacheEntry* a = text_font_glyph_for(font, 'A');
    const GlyphCacheEntry* intactA = text_font_glyph_for(intact, 'A');
    ASSERT_TRUE(a->mono_valid && a->grey_valid);
    ASSERT_EQ(a->grey_width, intactA->grey_width);
    ASSERT_EQ(a->grey_height, intactA->grey_height);
    ASSERT_NE(a->grey_pixels, nullptr);
    EXPECT_TRUE(std::equal(a->grey_pixels, a->grey_pixels + a->grey_width * a->grey_height,
                           intactA->grey_pixels));
    EXPECT_EQ(a->mono_width * a->mono_height, intactA->mono_width * intactA->mono_height);
}

TEST_F(GlyphCacheTest, GreyLevelsAreStretchedToFullRange)
{
    unsigned char source[4] = {0, 1, 15, 255};
    FT_Bitmap bitmap{};
    bitmap.rows = 1;
    bitmap.width = 4;
    bitmap.pitch = 4;
    bitmap.buffer = source;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    unsigned char out[4];

    const auto copied = [&](int levels) {
        bitmap.num_grays = static_cast<unsigned short>(levels);
        text_copy_grey_bitmap(bitmap, out);
        return std::vector<int>(out, out + 4);
    };
    EXPECT_EQ(copied(256), (std::vector<int>{0, 1, 15, 255}));
    EXPECT_EQ(copied(16), (std::vector<int>{0, 16, 240, (255 * 16) & 0xFF}));
    EXPECT_EQ(copied(200), (std::vector<int>{0, 1, 15, 255}))
        << "129 to 255 levels stay as they are";
    EXPECT_EQ(copied(0), (std::vector<int>{0, 1, 15, 255})) << "no levels, no stretch";
    EXPECT_EQ(copied(1), (std::vector<int>{0, 1, 15, 255}));
}

TEST_F(GlyphCacheTest, UpwardFlowingBitmapIsReadFromItsTopRow)
{
    // Two rows stored bottom row first, as a negative pitch says.
    unsigned char source[4] = {3, 4, 1, 2};
    FT_Bitmap bitmap{};
    bitmap.rows = 2;
    bitmap.width = 2;
    bitmap.pitch = -2;
    bitmap.buffer = source;
    bitmap.num_grays = 256;
    unsigned char out[4];
    text_copy_grey_bitmap(bitmap, out);
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{1, 2, 3, 4}));
}
