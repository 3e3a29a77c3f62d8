#include "TextTestKit.hpp"

#include <allegro/internal/aintern.h>

using namespace textkit;

namespace {

class TextDrawTest : public TextTest {
protected:
    int advance(TextFont* font, int code) { return text_font_glyph_for(font, code)->advance_x; }
};

// A combining acute accent: it has a shape but does not move the pen.
constexpr const char* kCombiningAcute = "\xcc\x81";

} // namespace

TEST_F(TextDrawTest, WidthAddsEveryAdvanceAndItsSpacing)
{
    TextFont* font = load(kSansPath, 24);
    const int a = advance(font, 'A');
    const int v = advance(font, 'V');
    const int space = advance(font, ' ');
    ASSERT_GT(a, 0);
    EXPECT_EQ(text_width(font, "AV"), a + v);
    text_font_set_spacing(font, 3);
    EXPECT_EQ(text_width(font, "AV"), a + v + 6) << "the last character's spacing counts too";
    EXPECT_EQ(text_width(font, "A A"), 2 * a + space + 9);
    EXPECT_EQ(text_width(font, ""), 0);
    EXPECT_EQ(text_width(font, nullptr), 0);
    EXPECT_EQ(text_width(nullptr, "AV"), 0);

    ASSERT_EQ(advance(font, 0x301), 0);
    EXPECT_EQ(text_width(font, kCombiningAcute), 0) << "no advance, no spacing";
    EXPECT_EQ(text_width(font, "A\xcc\x81V"), a + v + 6);
}

// Culling is judged on the clip rectangle: a 24-row line at y = -25 ends
// above row 0, at y = -24 it reaches row -1, still inside by the rule.
// Whether a call went past the cull shows in the drawing mode it leaves.
TEST_F(TextDrawTest, CullsOnlyTextWhollyOutsideTheClipRectangle)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(640, 480, black());
    const auto drawn = [&](int x, int y) {
        drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
        draw_text_smooth_bg(b, font, "Hi", x, y, white(), -1);
        return _drawing_mode == DRAW_MODE_SOLID;
    };
    EXPECT_FALSE(drawn(0, -25));
    EXPECT_TRUE(drawn(0, -24));
    EXPECT_TRUE(drawn(0, 480));
    EXPECT_FALSE(drawn(0, 481));
    EXPECT_TRUE(drawn(640, 0));
    EXPECT_FALSE(drawn(641, 0));
    EXPECT_TRUE(drawn(-10000, 0)) << "nothing is culled on the left";

    set_clip_rect(b, 100, 100, 199, 199);
    EXPECT_FALSE(drawn(0, 100 - 25));
    EXPECT_TRUE(drawn(0, 100 - 24));
    EXPECT_TRUE(drawn(200, 150));
    EXPECT_FALSE(drawn(201, 150));
    EXPECT_EQ(countOtherThan(b, black()), 0) << "every pixel fell outside the clip";
}

TEST_F(TextDrawTest, DrawsOnlyInsideTheClipRectangle)
{
    TextFont* font = load(kSansPath, 36);
    BITMAP* b = bitmap(200, 60, black());
    set_clip_rect(b, 20, 10, 59, 29);
    draw_text_sharp_bg(b, font, "WWWWWW", 0, 0, white(), makecol(0, 0, 255));
    draw_text_smooth_bg(b, font, "WWWWWW", 0, 0, white(), -1);
    const Box box = boundsOtherThan(b, black());
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 59);
    EXPECT_EQ(box.bottom, 29);
}

TEST_F(TextDrawTest, StopsAtTheFirstCharacterRightOfTheClipEdge)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(100, 30, black());
    const int m = advance(font, 'M');
    // The second M starts past column 99; Q after it is never looked up.
    draw_text_sharp_bg(b, font, "MMQ", 100 - m + 1, 0, white(), -1);
    EXPECT_FALSE(font->glyphs[text_glyph_index(font, 'Q')].loaded);
    EXPECT_GT(countOtherThan(b, black()), 0);
}

TEST_F(TextDrawTest, BoxSpansTheLineAndTheTextWidth)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(200, 60, black());
    const int magenta = makecol(255, 0, 255);
    text_font_set_spacing(font, 2);
    const int width = text_width(font, "Box");
    draw_text_sharp_bg(b, font, "Box", 10, 5, white(), magenta);
    const Box box = boundsOtherThan(b, black());
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 10 + width - 1);
    EXPECT_EQ(box.bottom, 5 + 24 - 1);
    int textPixels = 0;
    for (int y = box.top; y <= box.bottom; ++y) {
        for (int x = box.left; x <= box.right; ++x) {
            const int c = getpixel(b, x, y);
            ASSERT_TRUE(c == magenta || c == white()) << "sharp text has one colour";
            textPixels += c == white();
        }
    }
    EXPECT_GT(textPixels, 20);
}

TEST_F(TextDrawTest, EmptyTextStillCallsForItsEmptyBoxAndEndsSolid)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(100, 40, black());
    // The corners (x, y) and (x - 1, y + 23) go to rectfill as they are,
    // which fills the two columns between them.
    draw_text_smooth_bg(b, font, "", 10, 5, white(), makecol(0, 0, 255));
    const Box box = boundsOtherThan(b, black());
    EXPECT_EQ(box.left, 9);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.bottom, 28);
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    draw_text_smooth_bg(b, font, "", 10, 5, white(), -1);
    EXPECT_EQ(_drawing_mode, DRAW_MODE_SOLID);
}

TEST_F(TextDrawTest, SmoothRampRunsFromTheBoxToTheText)
{
    TextFont* font = load(kSansPath, 36);
    BITMAP* b = bitmap(300, 40, makecol(9, 9, 9));

    draw_text_smooth_bg(b, font, "Ramp", 0, 0, white(), black());
    Rgb brightest{0, 0, 0};
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < text_width(font, "Ramp"); ++x) {
            const Rgb c = at(b, x, y);
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << "grey on grey stays grey";
            if (c.r > brightest.r)
                brightest = c;
        }
    }
    EXPECT_EQ(brightest, (Rgb{255, 255, 255}));

    // Dark on light falls one short: full coverage is (1, 1, 1).
    draw_text_smooth_bg(b, font, "Ramp", 0, 0, black(), white());
    Rgb darkest{255, 255, 255};
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < text_width(font, "Ramp"); ++x)
            if (at(b, x, y).r < darkest.r)
                darkest = at(b, x, y);
    EXPECT_EQ(darkest, (Rgb{1, 1, 1}));

    // Each channel on its own: blue falls from 90 towards 10 and ends at 11.
    draw_text_smooth_bg(b, font, "Ramp", 0, 0, makecol(250, 200, 10), makecol(30, 0, 90));
    Rgb reddest{0, 0, 0};
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < text_width(font, "Ramp"); ++x)
            if (at(b, x, y).r > reddest.r)
                reddest = at(b, x, y);
    EXPECT_EQ(reddest, (Rgb{250, 200, 11}));
    EXPECT_EQ(at(b, 0, 0), (Rgb{30, 0, 90}));

    const int green = makecol(0, 160, 0);
    draw_text_smooth_bg(b, font, "Ramp", 0, 0, green, green);
    const Box box = boundsOtherThan(b, makecol(9, 9, 9));
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            ASSERT_EQ(getpixel(b, x, y), green) << "text in the box's colour leaves only the box";
}

// Solid text on a plain memory bitmap is stored without going through
// putpixel; with clipping off every pixel goes through putpixel instead.
// Both must give the same picture.
TEST_F(TextDrawTest, StoredPixelsMatchWhatPutpixelDraws)
{
    TextFont* font = load(kSansPath, 36);
    BITMAP* stored = bitmap(300, 50, makecol(20, 40, 60));
    BITMAP* put = bitmap(300, 50, makecol(20, 40, 60));
    set_clip_state(put, FALSE);
    for (BITMAP* b : {stored, put}) {
        draw_text_smooth_bg(b, font, "Quill", 4, 2, makecol(250, 200, 10), makecol(30, 0, 90));
        draw_text_sharp_bg(b, font, "forge", 150, 6, makecol(0, 255, 128), -1);
    }
    EXPECT_TRUE(samePixels(stored, put));
    EXPECT_GT(countOtherThan(stored, makecol(20, 40, 60)), 500);
}

TEST_F(TextDrawTest, SmoothTextWithoutABoxBlendsOntoTheBitmap)
{
    TextFont* font = load(kSansPath, 36);
    const int red = makecol(200, 0, 0);
    BITMAP* b = bitmap(200, 40, red);
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    draw_text_smooth_bg(b, font, "Os", 0, 0, makecol(0, 0, 200), -1);
    EXPECT_EQ(_drawing_mode, DRAW_MODE_SOLID);
    bool sawFull = false;
    bool sawBlend = false;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Rgb c = at(b, x, y);
            ASSERT_EQ(c.g, 0);
            sawFull |= c == Rgb{0, 0, 200};
            sawBlend |= c.r > 0 && c.b > 0;
        }
    }
    EXPECT_TRUE(sawFull);
    EXPECT_TRUE(sawBlend) << "edges mix the text with the red beneath";
}

TEST_F(TextDrawTest, SharpTextKeepsTheCallersDrawingMode)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(100, 30, black());
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    draw_text_sharp_bg(b, font, "X", 0, 0, white(), -1);
    EXPECT_EQ(_drawing_mode, DRAW_MODE_XOR);
    const int once = countOtherThan(b, black());
    EXPECT_GT(once, 0);
    draw_text_sharp_bg(b, font, "X", 0, 0, white(), -1);
    EXPECT_EQ(countOtherThan(b, black()), 0) << "drawn twice in XOR, the text is gone";
}

TEST_F(TextDrawTest, DefaultBackdropIsAnOpaqueBlackBox)
{
    TextFont* font = load(kSansPath, 24);
    const int blue = makecol(0, 0, 255);
    BITMAP* plain = bitmap(100, 30, blue);
    BITMAP* twin = bitmap(100, 30, blue);
    draw_text_smooth(plain, font, "ab", 0, 0, white());
    draw_text_smooth_bg(twin, font, "ab", 0, 0, white(), 0);
    EXPECT_TRUE(samePixels(plain, twin));
    EXPECT_EQ(at(plain, 0, 0), (Rgb{0, 0, 0}));

    clear_to_color(plain, blue);
    clear_to_color(twin, blue);
    draw_text_sharp(plain, font, "ab", 0, 0, white());
    draw_text_sharp_bg(twin, font, "ab", 0, 0, white(), 0);
    EXPECT_TRUE(samePixels(plain, twin));
}

TEST_F(TextDrawTest, GlyphsWithoutPixelsInTheStyleStillMoveThePen)
{
    TextFont* font = load(kFixed10x20Path);
    BITMAP* b = bitmap(100, 30, black());
    const int blue = makecol(0, 0, 255);
    // The face has 1-bit bitmaps only: smooth drawing gives just the box.
    draw_text_smooth_bg(b, font, "AB", 0, 0, white(), blue);
    EXPECT_EQ(boundsOtherThan(b, black()).right, 19);
    EXPECT_EQ(countOtherThan(b, blue) - (100 * 30 - 20 * 20), 0);

    clear_to_color(b, black());
    draw_text_sharp_bg(b, font, " B", 0, 0, white(), -1);
    EXPECT_GE(boundsOtherThan(b, black()).left, 10) << "the space moved the B on";
}

TEST_F(TextDrawTest, MissingPiecesDrawNothing)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* b = bitmap(100, 30, black());
    draw_text_smooth_bg(b, nullptr, "A", 0, 0, white(), makecol(0, 0, 255));
    draw_text_sharp_bg(b, nullptr, "A", 0, 0, white(), makecol(0, 0, 255));
    draw_text_smooth_bg(b, font, nullptr, 0, 0, white(), makecol(0, 0, 255));
    draw_text_sharp_bg(b, font, nullptr, 0, 0, white(), makecol(0, 0, 255));
    draw_text_smooth(nullptr, font, "A", 0, 0, white());
    draw_text_sharp(nullptr, font, "A", 0, 0, white());
    EXPECT_EQ(countOtherThan(b, black()), 0);
}
