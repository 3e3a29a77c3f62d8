#include "TextTestKit.hpp"

#include <chrono>
#include <cstring>

using namespace textkit;

namespace {

class FontObjectsTest : public TextTest {};

} // namespace

TEST_F(FontObjectsTest, StartsOnceAndStopsOnce)
{
    // The fixture started the renderer already.
    FT_Library first = text_library;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(text_started, 1);
    EXPECT_EQ(text_system_startup(), 0);
    EXPECT_EQ(text_library, first);

    text_system_shutdown();
    EXPECT_EQ(text_started, 0);
    EXPECT_EQ(text_library, nullptr);
    text_system_shutdown();
    EXPECT_EQ(text_font_load(kSansPath), nullptr) << "no face opens while stopped";

    EXPECT_EQ(text_system_startup(), 0);
    EXPECT_EQ(text_started, 1);
    EXPECT_NE(text_library, nullptr);
}

TEST_F(FontObjectsTest, ScalableFaceLoadsAtEightPixels)
{
    TextFont* font = load(kSansPath);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(text_font_height(font), 8);
    EXPECT_EQ(text_line_height(font), 8);
    EXPECT_GT(font->pixel_size, 0);
    EXPECT_EQ(text_font_spacing(font), 0);
    EXPECT_EQ(font->memory_copy, nullptr);
    EXPECT_EQ(font->memory_size, 0);

    EXPECT_EQ(text_font_is_scalable(font), -1);
    EXPECT_EQ(text_font_is_fixed(font), 0);
    EXPECT_EQ(text_font_fixed_size_count(font), -1);
    const int* sizes = text_font_fixed_sizes(font);
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes[0], -1);

    for (FT_Long i = 0; i < font->face->num_glyphs; ++i) {
        const GlyphCacheEntry& entry = font->glyphs[i];
        ASSERT_FALSE(entry.loaded || entry.mono_pixels || entry.grey_pixels) << "glyph " << i;
    }
}

// DejaVu Sans measures more than its pixel size (24 measures 29, 20
// measures 24), so every search of it shrinks.
TEST_F(FontObjectsTest, ShrinkingSearchStopsAtTheFirstSizeThatFits)
{
    TextFont* font = load(kSansPath);
    ASSERT_EQ(text_font_set_height(font, 24), 0);
    EXPECT_EQ(font->pixel_size, 20);
    EXPECT_EQ(text_font_height(font), 24);
    EXPECT_EQ(font->ascent, 19); // ascender 19.0 at 20 pixels
    EXPECT_EQ(font->face->size->metrics.y_ppem, 20);

    // No size measures 26 (21 measures 25, 22 measures 27): the first one
    // below it is taken, and the line box stays 26 rows.
    ASSERT_EQ(text_font_set_height(font, 26), 0);
    EXPECT_EQ(font->pixel_size, 21);
    EXPECT_EQ(measureAt(font->face, 21), 25);
    EXPECT_EQ(text_font_height(font), 26);

    ASSERT_EQ(text_font_set_height(font, 36), 0);
    EXPECT_EQ(font->pixel_size, 30);
    EXPECT_EQ(font->ascent, 28);
}

// A face with short ascender and descender measures about half its pixel
// size, so the search grows, and steps back one size when it overshoots.
TEST_F(FontObjectsTest, GrowingSearchStepsBackFromTheFirstSizeThatMeasuresMore)
{
    const std::vector<unsigned char> bytes = withVerticalMetrics(readFile(kSansPath), 820, -205);
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr);

    for (int height : {13, 24, 36}) {
        ASSERT_EQ(text_font_set_height(font, height), 0) << height;
        const int chosen = font->pixel_size;
        const int ascent = font->ascent;
        const FT_Pos ppem = font->face->size->metrics.y_ppem;

        int n = height;
        while (measureAt(font->face, n) < height)
            ++n;
        const int expected = measureAt(font->face, n) == height ? n : n - 1;
        EXPECT_EQ(chosen, expected) << height;
        EXPECT_GT(chosen, height);
        EXPECT_EQ(ppem, chosen) << "the face is left at the chosen size";
        EXPECT_LE(measureAt(font->face, chosen), height);
        EXPECT_EQ(ascent, font->face->size->metrics.ascender >> 6);
        EXPECT_EQ(text_font_height(font), height);
    }
}

// No size of a face without ascender and descender measures anything.
TEST_F(FontObjectsTest, HopelessSearchGivesUpAndRestoresTheStoredSize)
{
    const std::vector<unsigned char> bytes = withVerticalMetrics(readFile(kSansPath), 0, 0);
    TextFont* font = keep(text_font_load_memory(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_NE(font, nullptr) << "a font whose first height fails is still handed out";
    EXPECT_EQ(text_font_height(font), 0);
    EXPECT_EQ(font->pixel_size, 0);
    EXPECT_EQ(font->ascent, 0);
    EXPECT_EQ(text_font_set_height(font, 0), 0) << "0 is the height it has";

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(text_font_set_height(font, 24), -1);
    EXPECT_EQ(text_font_set_height(font, 60000), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(text_font_height(font), 0);
    EXPECT_EQ(font->pixel_size, 0);
    // Back at the stored size 0, which FreeType takes as 1 pixel, not left
    // wherever the search gave up.
    EXPECT_EQ(font->face->size->metrics.y_ppem, 1);
}

TEST_F(FontObjectsTest, RefusedHeightsLeaveTheFontAsItWas)
{
    TextFont* font = load(kSansPath, 24);
    for (int refused : {0, -1, -24})
        EXPECT_EQ(text_font_set_height(font, refused), -1) << refused;
    EXPECT_EQ(text_font_height(font), 24);
    EXPECT_EQ(font->pixel_size, 20);
    EXPECT_EQ(font->face->size->metrics.y_ppem, 20);
}

TEST_F(FontObjectsTest, SameHeightCallsNoFreeTypeAndKeepsTheCache)
{
    TextFont* font = load(kSansPath, 24);
    const GlyphCacheEntry* a = text_font_glyph_for(font, 'A');
    ASSERT_TRUE(a->loaded);
    const unsigned char* pixels = a->grey_pixels;
    ASSERT_NE(pixels, nullptr);

    // Had the call asked FreeType for a size, the face would be back at 20.
    ASSERT_EQ(FT_Set_Pixel_Sizes(font->face, 0, 50), 0);
    EXPECT_EQ(text_font_set_height(font, 24), 0);
    EXPECT_EQ(font->face->size->metrics.y_ppem, 50);
    EXPECT_TRUE(a->loaded);
    EXPECT_EQ(a->grey_pixels, pixels);

    ASSERT_EQ(text_font_set_height(font, 36), 0);
    EXPECT_FALSE(a->loaded) << "a new height empties the cache";
    EXPECT_EQ(a->grey_pixels, nullptr);
    EXPECT_EQ(a->mono_pixels, nullptr);
}

TEST_F(FontObjectsTest, SpacingIsClampedToItsRange)
{
    TextFont* font = load(kSansPath);
    const std::pair<int, int> cases[] = {{-5, 0}, {0, 0}, {3, 3}, {4096, 4096}, {5000, 4096}};
    for (const auto& [asked, stored] : cases) {
        text_font_set_spacing(font, asked);
        EXPECT_EQ(text_font_spacing(font), stored) << asked;
    }
}

TEST_F(FontObjectsTest, BackdropStartsBlackAndReturnsThePreviousOne)
{
    EXPECT_EQ(text_backdrop, 0);
    EXPECT_EQ(text_set_backdrop(makecol(1, 2, 3)), 0);
    EXPECT_EQ(text_set_backdrop(-1), makecol(1, 2, 3));
    EXPECT_EQ(text_set_backdrop(0), -1);
}

TEST_F(FontObjectsTest, MemoryFontOwnsItsCopyOfTheData)
{
    TextFont* fromFile = load(kSansPath, 24);
    auto* buffer = new std::vector<unsigned char>(readFile(kSansPath));
    const int size = static_cast<int>(buffer->size());
    TextFont* font = keep(text_font_load_memory(buffer->data(), size));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->memory_copy, buffer->data());
    EXPECT_EQ(font->memory_size, size);
    std::memset(buffer->data(), 0, buffer->size());
    delete buffer;

    ASSERT_EQ(text_font_set_height(font, 24), 0);
    EXPECT_EQ(text_width(font, "Grimbledom"), text_width(fromFile, "Grimbledom"));
    EXPECT_GT(text_width(font, "Grimbledom"), 0);
}

TEST_F(FontObjectsTest, UnreadableFontsGiveNull)
{
    EXPECT_EQ(text_font_load("/nonexistent/carbon.ttf"), nullptr);
    EXPECT_EQ(text_font_load(nullptr), nullptr);

    const char garbage[] = "this is no font at all, just some bytes of text";
    EXPECT_EQ(text_font_load_memory(garbage, sizeof garbage), nullptr);
    EXPECT_EQ(text_font_load_memory(nullptr, 100), nullptr);
    std::vector<unsigned char> bytes = readFile(kSansPath);
    EXPECT_EQ(text_font_load_memory(bytes.data(), 0), nullptr);
    EXPECT_EQ(text_font_load_memory(bytes.data(), -5), nullptr);
    EXPECT_EQ(text_font_load_memory(bytes.data(), 64), nullptr) << "a cut-off font";
}

TEST_F(FontObjectsTest, FixedSizeFaceStartsAtItsOnlySize)
{
    TextFont* font = load(kFixed10x20Path);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(text_font_is_fixed(font), -1);
    EXPECT_EQ(text_font_is_scalable(font), 0);
    EXPECT_EQ(text_font_fixed_size_count(font), 1);
    EXPECT_EQ(text_font_height(font), 20);
    EXPECT_EQ(font->pixel_size, 20);
    EXPECT_EQ(font->ascent, 16);

    // FreeType offers no other size of a bitmap face.
    EXPECT_EQ(text_font_set_height(font, 21), -1);
    EXPECT_EQ(text_font_set_height(font, 19), -1);
    EXPECT_EQ(text_font_height(font), 20);
    EXPECT_EQ(font->face->size->metrics.y_ppem, 20);

    font->sizes[0] = 99;
    const int* sizes = text_font_fixed_sizes(font);
    EXPECT_EQ(sizes[0], 20) << "the list is read afresh from the face";
    EXPECT_EQ(sizes[1], -1);
}

TEST_F(FontObjectsTest, NullFontIsHarmless)
{
    text_font_destroy(nullptr);
    EXPECT_EQ(text_font_set_height(nullptr, 24), -1);
    EXPECT_EQ(text_font_height(nullptr), 0);
    EXPECT_EQ(text_line_height(nullptr), 0);
    text_font_set_spacing(nullptr, 3);
    EXPECT_EQ(text_font_spacing(nullptr), 0);
    EXPECT_EQ(text_font_is_fixed(nullptr), 0);
    EXPECT_EQ(text_font_is_scalable(nullptr), 0);
    EXPECT_EQ(text_font_fixed_sizes(nullptr), nullptr);
    EXPECT_EQ(text_font_fixed_size_count(nullptr), 0);
}
