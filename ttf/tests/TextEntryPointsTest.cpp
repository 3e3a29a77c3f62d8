#include "TextTestKit.hpp"

#include <functional>
#include <string>

using namespace textkit;

namespace {

class TextEntryPointsTest : public TextTest {
protected:
    // 6 pixels a character; spacing makes the widths the tests need.
    TextFont* narrow(int spacing)
    {
        TextFont* font = load(kFixed6x13Path);
        text_font_set_spacing(font, spacing);
        return font;
    }
    int blue() const { return makecol(0, 0, 255); }
};

using Draw = std::function<void(BITMAP*, TextFont*, const char*, int x, int colour)>;

} // namespace

TEST_F(TextEntryPointsTest, CentredTextStartsHalfItsWidthLeftTruncatingTowardZero)
{
    BITMAP* b = bitmap(640, 20, black());
    TextFont* seven = narrow(1);
    ASSERT_EQ(text_width(seven, "I"), 7);
    draw_text_sharp_centred_bg(b, seven, "I", 320, 0, white(), blue());
    EXPECT_EQ(boundsOtherThan(b, black()).left, 317);
    EXPECT_EQ(boundsOtherThan(b, black()).right, 323);

    clear_to_color(b, black());
    TextFont* eight = narrow(2);
    draw_text_smooth_centred_bg(b, eight, "I", 320, 0, white(), blue());
    EXPECT_EQ(boundsOtherThan(b, black()).left, 316);

    clear_to_color(b, black());
    draw_textf_sharp_centred_bg(b, seven, 320, 0, white(), blue(), "%s", "I");
    EXPECT_EQ(boundsOtherThan(b, black()).left, 317);
}

TEST_F(TextEntryPointsTest, RightAlignedTextEndsItsSpacingAtX)
{
    BITMAP* b = bitmap(640, 20, black());
    TextFont* font = narrow(3);
    draw_text_sharp_right_bg(b, font, "AB", 100, 0, white(), blue());
    const Box box = boundsOtherThan(b, black());
    EXPECT_EQ(box.left, 100 - 18);
    EXPECT_EQ(box.right, 99) << "the box ends just left of x";

    // Without a box, the last glyph's advance ends 3 pixels short of x.
    clear_to_color(b, black());
    draw_text_sharp_right_bg(b, font, "AB", 100, 0, white(), -1);
    EXPECT_LE(boundsOtherThan(b, black()).right, 100 - 3 - 1);
    EXPECT_GE(boundsOtherThan(b, black()).left, 100 - 18);
}

TEST_F(TextEntryPointsTest, TextWithoutAdvanceIsDrawnFromX)
{
    TextFont* font = load(kSansPath, 24);
    const char* accent = "\xcc\x81";
    ASSERT_EQ(text_width(font, accent), 0);
    BITMAP* left = bitmap(100, 30, black());
    BITMAP* centred = bitmap(100, 30, black());
    BITMAP* right = bitmap(100, 30, black());
    draw_text_smooth_bg(left, font, accent, 50, 0, white(), -1);
    draw_text_smooth_centred_bg(centred, font, accent, 50, 0, white(), -1);
    draw_text_smooth_right_bg(right, font, accent, 50, 0, white(), -1);
    EXPECT_GT(countOtherThan(left, black()), 0);
    EXPECT_TRUE(samePixels(left, centred));
    EXPECT_TRUE(samePixels(left, right));
}

TEST_F(TextEntryPointsTest, FormattedTextIsDrawnAsTheFormattedString)
{
    TextFont* font = load(kSansPath, 24);
    BITMAP* formatted = bitmap(200, 30, black());
    BITMAP* plain = bitmap(200, 30, black());

    draw_textf_sharp_bg(formatted, font, 10, 2, white(), blue(), "%d%%", 50);
    draw_text_sharp_bg(plain, font, "50%", 10, 2, white(), blue());
    EXPECT_TRUE(samePixels(formatted, plain));

    // The format follows colour and background.
    draw_textf_sharp_bg(formatted, font, 10, 2, white(), black(), "TIME: %d", 42);
    draw_text_sharp_bg(plain, font, "TIME: 42", 10, 2, white(), black());
    EXPECT_TRUE(samePixels(formatted, plain));

    draw_textf_smooth_right(formatted, font, 190, 2, white(), "SCORE: %d", 1234);
    draw_text_smooth_right(plain, font, "SCORE: 1234", 190, 2, white());
    EXPECT_TRUE(samePixels(formatted, plain));
}

// 509 one-byte characters and two of three bytes: the first one of three
// would end at byte 512, past the 511 that fit, so both are cut.
TEST_F(TextEntryPointsTest, LongFormattedTextIsCutToWholeCharactersIn511Bytes)
{
    TextFont* font = load(kFixed6x13Path);
    const std::string cut(509, 'i');
    const std::string euros = cut + "\xe2\x82\xac\xe2\x82\xac";
    ASSERT_GT(text_width(font, euros.c_str()), text_width(font, cut.c_str()));

    BITMAP* formatted = bitmap(640, 20, black());
    BITMAP* plain = bitmap(640, 20, black());
    draw_textf_sharp_right_bg(formatted, font, 639, 0, white(), blue(), "%s", euros.c_str());
    draw_text_sharp_right_bg(plain, font, cut.c_str(), 639, 0, white(), blue());
    EXPECT_TRUE(samePixels(formatted, plain)) << "the cut text is what is measured and drawn";

    // One byte less before them, and the first of the two fits exactly.
    const std::string fits(508, 'i');
    clear_to_color(formatted, black());
    clear_to_color(plain, black());
    draw_textf_sharp_right_bg(formatted, font, 639, 0, white(), blue(),
                              "%s\xe2\x82\xac\xe2\x82\xac", fits.c_str());
    draw_text_sharp_right_bg(plain, font, (fits + "\xe2\x82\xac").c_str(), 639, 0, white(), blue());
    EXPECT_TRUE(samePixels(formatted, plain));
}

TEST_F(TextEntryPointsTest, FormsWithoutABackgroundFollowTheBackdrop)
{
    TextFont* font = load(kSansPath, 24);
    const int grey = makecol(90, 90, 90);
    BITMAP* a = bitmap(200, 30, grey);
    BITMAP* b = bitmap(200, 30, grey);
    draw_textf_smooth_centred(a, font, 100, 0, white(), "%d", 7);
    draw_textf_smooth_centred_bg(b, font, 100, 0, white(), 0, "%d", 7);
    EXPECT_TRUE(samePixels(a, b));

    text_set_backdrop(-1);
    clear_to_color(a, grey);
    clear_to_color(b, grey);
    draw_text_sharp_centred(a, font, "7", 100, 0, white());
    draw_text_sharp_centred_bg(b, font, "7", 100, 0, white(), -1);
    EXPECT_TRUE(samePixels(a, b));
    EXPECT_GT(countOtherThan(a, grey), 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_TRUE(getpixel(a, x, y) == grey || getpixel(a, x, y) == white()) << "no box";
}

// Every entry point, told apart by name; none may draw or crash when handed
// no font, no text or no format.
TEST_F(TextEntryPointsTest, NoFontNoTextOrNoFormatDrawsNothing)
{
    const std::vector<std::pair<const char*, Draw>> forms = {
        {"smooth_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                         int c) { draw_text_smooth_bg(b, f, t, x, 0, c, 0); }},
        {"smooth", [](BITMAP* b, TextFont* f, const char* t, int x,
                      int c) { draw_text_smooth(b, f, t, x, 0, c); }},
        {"sharp_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                        int c) { draw_text_sharp_bg(b, f, t, x, 0, c, 0); }},
        {"sharp", [](BITMAP* b, TextFont* f, const char* t, int x,
                     int c) { draw_text_sharp(b, f, t, x, 0, c); }},
        {"smooth_centred_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                 int c) { draw_text_smooth_centred_bg(b, f, t, x, 0, c, 0); }},
        {"smooth_centred", [](BITMAP* b, TextFont* f, const char* t, int x,
                              int c) { draw_text_smooth_centred(b, f, t, x, 0, c); }},
        {"sharp_centred_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                int c) { draw_text_sharp_centred_bg(b, f, t, x, 0, c, 0); }},
        {"sharp_centred", [](BITMAP* b, TextFont* f, const char* t, int x,
                             int c) { draw_text_sharp_centred(b, f, t, x, 0, c); }},
        {"smooth_right_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                               int c) { draw_text_smooth_right_bg(b, f, t, x, 0, c, 0); }},
        {"smooth_right", [](BITMAP* b, TextFont* f, const char* t, int x,
                            int c) { draw_text_smooth_right(b, f, t, x, 0, c); }},
        {"sharp_right_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                              int c) { draw_text_sharp_right_bg(b, f, t, x, 0, c, 0); }},
        {"sharp_right", [](BITMAP* b, TextFont* f, const char* t, int x,
                           int c) { draw_text_sharp_right(b, f, t, x, 0, c); }},
        {"f_sharp", [](BITMAP* b, TextFont* f, const char* t, int x,
                       int c) { draw_textf_sharp(b, f, x, 0, c, t); }},
        {"f_sharp_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                          int c) { draw_textf_sharp_bg(b, f, x, 0, c, 0, t); }},
        {"f_smooth", [](BITMAP* b, TextFont* f, const char* t, int x,
                        int c) { draw_textf_smooth(b, f, x, 0, c, t); }},
        {"f_smooth_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                           int c) { draw_textf_smooth_bg(b, f, x, 0, c, 0, t); }},
        {"f_sharp_centred", [](BITMAP* b, TextFont* f, const char* t, int x,
                               int c) { draw_textf_sharp_centred(b, f, x, 0, c, t); }},
        {"f_sharp_centred_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                  int c) { draw_textf_sharp_centred_bg(b, f, x, 0, c, 0, t); }},
        {"f_smooth_centred", [](BITMAP* b, TextFont* f, const char* t, int x,
                                int c) { draw_textf_smooth_centred(b, f, x, 0, c, t); }},
        {"f_smooth_centred_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                   int c) { draw_textf_smooth_centred_bg(b, f, x, 0, c, 0, t); }},
        {"f_sharp_right", [](BITMAP* b, TextFont* f, const char* t, int x,
                             int c) { draw_textf_sharp_right(b, f, x, 0, c, t); }},
        {"f_sharp_right_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                int c) { draw_textf_sharp_right_bg(b, f, x, 0, c, 0, t); }},
        {"f_smooth_right", [](BITMAP* b, TextFont* f, const char* t, int x,
                              int c) { draw_textf_smooth_right(b, f, x, 0, c, t); }},
        {"f_smooth_right_bg", [](BITMAP* b, TextFont* f, const char* t, int x,
                                 int c) { draw_textf_smooth_right_bg(b, f, x, 0, c, 0, t); }},
    };
    ASSERT_EQ(forms.size(), 24u);
    TextFont* font = load(kSansPath, 24);
    const int background = makecol(0, 80, 0);
    BITMAP* b = bitmap(200, 30, background);
    for (const auto& [name, draw] : forms) {
        draw(b, nullptr, "Hi", 100, white());
        draw(b, font, nullptr, 100, white());
        draw(nullptr, font, "Hi", 100, white());
        EXPECT_EQ(countOtherThan(b, background), 0) << name;
        // And with everything in place each one draws.
        draw(b, font, "Hi", 100, white());
        EXPECT_GT(countOtherThan(b, background), 0) << name;
        clear_to_color(b, background);
    }
}
