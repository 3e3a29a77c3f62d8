#include "TextTestKit.hpp"

#include <algorithm>

using namespace textkit;

namespace {

class GlyphCacheTest : public TextTest {};

constexpr int kFullBlock = 0x2588;
// fonts-paratype: the face the game ships as its own font.
constexpr const char* kGameFontPath = "/usr/share/fonts/truetype/paratype/PTN77F.ttf";

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

// A font whose outlines are forty times larger than its line: a glyph that
// would span thousands of pixels is left out but still moves the pen, while
// one that stays within ten heights renders.
TEST_F(GlyphCacheTest, GlyphFarLargerThanTheHeightIsLeftOutButStillAdvances)
{
    constexpr int kHeight = 300;
    constexpr int kShrink = 40; // 1000 units to the em, ascender 1018, descender -276
    const std::vector<unsigned char> bytes = withVerticalMetrics(
        withUnitsPerEm(readFile(kGameFontPath), 1000 / kShrink), 1018 / kShrink, -276 / kShrink);
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(text_font_set_height(font, kHeight), 0);

    const GlyphCacheEntry* huge = text_font_glyph_for(font, 'M');
    EXPECT_TRUE(huge->loaded);
    EXPECT_EQ(huge->mono_valid, 0);
    EXPECT_EQ(huge->grey_valid, 0);
    EXPECT_EQ(huge->mono_pixels, nullptr);
    EXPECT_EQ(huge->grey_pixels, nullptr);
    FT_Load_Glyph(font->face, text_glyph_index(font, 'M'),
                  FT_LOAD_DEFAULT | FT_LOAD_FORCE_AUTOHINT);
    EXPECT_GT(font->face->glyph->metrics.height >> 6, 10 * kHeight);
    EXPECT_EQ(huge->advance_x, font->face->glyph->advance.x >> 6);

    const GlyphCacheEntry* dot = text_font_glyph_for(font, '.');
    EXPECT_TRUE(dot->mono_valid && dot->grey_valid);
    EXPECT_NE(dot->grey_pixels, nullptr);
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
