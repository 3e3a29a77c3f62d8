// Every fast drawing operation against the library call it stands for, on
// the same pixels, pixel for pixel.

#include "HeadlessScreen.hpp"

#include "framework/FastDrawing.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

namespace {

constexpr int kMask = 0xFF00FF;

std::uint32_t* row(BITMAP* b, int y)
{
    return reinterpret_cast<std::uint32_t*>(b->line[y]);
}

// Colours that change from pixel to pixel, every `maskEvery`th one magenta,
// some with a byte above blue, green and red.
void paint(BITMAP* b, unsigned seed, int maskEvery = 3)
{
    unsigned state = seed * 2654435761u + 1;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) {
            state = state * 1103515245u + 12345u;
            std::uint32_t c = (state >> 4) & 0xFFFFFF;
            if (state % 7 == 0)
                c |= 0x80000000u;
            row(b, y)[x] = maskEvery && (state >> 20) % maskEvery == 0 ? kMask : c;
        }
}

void copyInto(BITMAP* from, BITMAP* to)
{
    for (int y = 0; y < from->h; ++y)
        std::memcpy(row(to, y), row(from, y), from->w * sizeof(std::uint32_t));
}

// A background without magenta, made once for each size.
BITMAP* background(int w, int h)
{
    static ScopedBitmap* made[2] = {};
    ScopedBitmap*& b = made[w == 640 ? 0 : 1];
    if (!b || b->bitmap->w != w || b->bitmap->h != h) {
        delete b;
        b = new ScopedBitmap(w, h);
        paint(*b, static_cast<unsigned>(w * h), 0);
    }
    return *b;
}

// Draws onto two copies of one background, the library's way and ours.
class Both {
public:
    Both(int w, int h) : library(w, h), ours(w, h) { reset(); }
    // Both back to the background, without a clip rectangle.
    void reset()
    {
        copyInto(background(library.bitmap->w, library.bitmap->h), library);
        copyInto(library, ours);
        set_clip_rect(library, 0, 0, library.bitmap->w - 1, library.bitmap->h - 1);
        set_clip_rect(ours, 0, 0, ours.bitmap->w - 1, ours.bitmap->h - 1);
    }
    void clip(int x1, int y1, int x2, int y2)
    {
        set_clip_rect(library, x1, y1, x2, y2);
        set_clip_rect(ours, x1, y1, x2, y2);
    }
    std::string draw(const std::function<void(BITMAP*)>& libraryWay,
                     const std::function<void(BITMAP*)>& ourWay)
    {
        libraryWay(library);
        ourWay(ours);
        return firstDifference(library, ours);
    }

    ScopedBitmap library;
    ScopedBitmap ours;
};

struct Rect {
    int fromX, fromY, toX, toY, w, h;
};

// Inside, off every edge, larger than both bitmaps, empty and negative.
const Rect kRects[] = {
    {0, 0, 0, 0, 37, 23},
    {5, 3, 11, 7, 29, 13},
    {-9, -4, 3, 2, 30, 20},
    {4, 6, -13, -5, 40, 30},
    {20, 10, 150, 90, 60, 40},
    {0, 0, -100, -100, 50, 50},
    {-50, -50, 0, 0, 40, 40},
    {0, 0, 0, 0, 1000, 1000},
    {3, 3, 9, 9, 0, 5},
    {3, 3, 9, 9, 5, -2},
    {59, 44, 10, 10, 8, 8},
    {60, 45, 10, 10, 8, 8},
    {7, 1, 155, 99, 1, 1},
    {1, 2, 150, 90, 9, 1},
    {0, 0, 143, 0, 17, 100},
    // One pixel either side of the edges of the clip rectangle below.
    {2, 2, 7, 4, 20, 20},
    {2, 2, 8, 5, 20, 20},
    {0, 0, -1, -1, 12, 12},
    {0, 0, 111, 51, 20, 20},
    {0, 0, 112, 52, 20, 20},
    {0, 0, 141, 81, 20, 20},
};

// Calls draw with a part of parent that shares parent's pixels.
void withPart(BITMAP* parent, int x, int y, int w, int h, const std::function<void(BITMAP*)>& draw)
{
    BITMAP* part = create_sub_bitmap(parent, x, y, w, h);
    draw(part);
    destroy_bitmap(part);
}

} // namespace

TEST(FastDrawing, BlitsClipAndCopyAsTheLibrary)
{
    HeadlessScreen screen;
    ScopedBitmap source(60, 45);
    paint(source, 1);
    for (const bool clipped : {false, true}) {
        for (const Rect& r : kRects) {
            const std::string where = std::to_string(r.fromX) + "," + std::to_string(r.fromY)
                                      + " to " + std::to_string(r.toX) + "," + std::to_string(r.toY)
                                      + " size " + std::to_string(r.w) + "x" + std::to_string(r.h)
                                      + (clipped ? " clipped" : "");
            Both masked(160, 100);
            Both plain(160, 100);
            if (clipped) {
                masked.clip(8, 5, 130, 70); // columns 8 to 130, rows 5 to 70
                plain.clip(8, 5, 130, 70);
            }
            EXPECT_EQ(masked.draw(
                          [&](BITMAP* b) {
                              masked_blit(source, b, r.fromX, r.fromY, r.toX, r.toY, r.w, r.h);
                          },
                          [&](BITMAP* b) {
                              maskedBlit(source, b, r.fromX, r.fromY, r.toX, r.toY, r.w, r.h);
                          }),
                      "")
                << "masked " << where;
            EXPECT_EQ(
                plain.draw(
                    [&](BITMAP* b) { blit(source, b, r.fromX, r.fromY, r.toX, r.toY, r.w, r.h); },
                    [&](BITMAP* b) {
                        plainBlit(source, b, r.fromX, r.fromY, r.toX, r.toY, r.w, r.h);
                    }),
                "")
                << "plain " << where;
        }
    }
}

TEST(FastDrawing, MergedCopyIsACopyWithAMaskedCopyOverIt)
{
    HeadlessScreen screen;
    ScopedBitmap over(90, 30), under(120, 40);
    paint(over, 3);
    paint(under, 4, 0);
    // Widths on both sides of a whole number of eight pixels, and one
    // rectangle that does not fit, which the library's clipping handles.
    const Rect rects[] = {{0, 0, 0, 0, 90, 30},  {3, 2, 17, 9, 61, 21},   {1, 1, 5, 5, 7, 3},
                          {0, 0, 100, 70, 8, 8}, {10, 0, 40, 20, 80, 30}, {3, 2, 120, 60, 61, 21}};
    for (const Rect& r : rects) {
        Both both(140, 80);
        const int underX = r.fromX + 20, underY = r.fromY + 5;
        EXPECT_EQ(both.draw(
                      [&](BITMAP* b) {
                          blit(under, b, underX, underY, r.toX, r.toY, r.w, r.h);
                          masked_blit(over, b, r.fromX, r.fromY, r.toX, r.toY, r.w, r.h);
                      },
                      [&](BITMAP* b) {
                          maskedBlitOver(over, r.fromX, r.fromY, under, underX, underY, b, r.toX,
                                         r.toY, r.w, r.h);
                      }),
                  "")
            << "width " << r.w << " at " << r.toX << "," << r.toY;
    }
}

TEST(FastDrawing, ClearsFillTheClipRectangleAsTheLibrary)
{
    HeadlessScreen screen;
    for (const bool clipped : {false, true}) {
        Both whole(75, 33);
        Both rows(75, 33);
        if (clipped) {
            whole.clip(3, 4, 60, 20);
            rows.clip(3, 4, 60, 20);
        }
        EXPECT_EQ(whole.draw([](BITMAP* b) { clear_to_color(b, 0x123456); },
                             [](BITMAP* b) { clearBitmap(b, 0x123456); }),
                  "");
        for (const int y : {-1, 0, 3, 4, 20, 21, 32, 33})
            EXPECT_EQ(rows.draw([y](BITMAP* b) { hline(b, 0, y, b->w - 1, 0xABCDEF); },
                                [y](BITMAP* b) { clearRow(b, y, 0xABCDEF); }),
                      "")
                << "row " << y << (clipped ? " clipped" : "");
    }
}

// Every red and green pair meets every alpha, since the blender carries
// green into red's rounding; bytes above red must not survive either.
TEST(FastDrawing, BlackVeilIsTheLibraryBlendAtEveryAlpha)
{
    HeadlessScreen screen;
    ScopedBitmap black(256, 256);
    clear_to_color(black, 0);
    ScopedBitmap background(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            row(background, y)[x] = (x << 16) | (y << 8) | ((x * 7 + y * 13) & 255)
                                    | ((x + y) % 5 == 0 ? 0xC0000000u : 0u);
    for (int alpha = 0; alpha <= 255; ++alpha) {
        ScopedBitmap library(256, 256), ours(256, 256);
        copyInto(background, library);
        copyInto(background, ours);
        set_trans_blender(255, 255, 255, alpha);
        draw_trans_sprite(library, black, 0, 0);
        set_trans_blender(0, 0, 0, 0);
        blendBlackOver(ours, alpha);
        ASSERT_EQ(firstDifference(library, ours), "") << "alpha " << alpha;
    }
    // The veil keeps to the clip rectangle, as the sprite's clipping does.
    Both both(256, 256);
    both.clip(10, 20, 200, 100);
    EXPECT_EQ(both.draw(
                  [&](BITMAP* b) {
                      set_trans_blender(255, 255, 255, 99);
                      draw_trans_sprite(b, black, 0, 0);
                  },
                  [](BITMAP* b) { blendBlackOver(b, 99); }),
              "");
}

TEST(FastDrawing, TurnedSpritesAreTheLibrarysPixels)
{
    HeadlessScreen screen;
    const int sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {60, 80}, {110, 80}, {200, 200}};
    // The hillside's gentle tilts, whole turns and angles of every quarter.
    const double angles[] = {0.0,  0.5,   -0.37, 7.83,  -8.78, 9.0,    -9.0, 32.0,
                             64.0, 100.1, 128.0, 191.9, 255.5, -64.25, 300.0};
    // Inside, walking in from the left, and off every edge.
    const int places[][2] = {{100, 80},  {-60, 100}, {-480, 295}, {600, 400},
                             {300, -50}, {250, 450}, {-30, -40}};
    int drawn = 0;
    Both both(640, 480);
    for (const auto& size : sizes) {
        ScopedBitmap sprite(size[0], size[1]);
        paint(sprite, static_cast<unsigned>(size[0] * 31 + size[1]));
        for (const double angle : angles)
            for (const auto& place : places)
                for (const bool clipped : {false, true}) {
                    both.reset();
                    if (clipped)
                        both.clip(40, 30, 599, 439);
                    // Multiplied: the library's itofix shifts, wrongly for
                    // negative places.
                    const fixed x = place[0] * 65536 + size[0] * 32768;
                    const fixed y = place[1] * 65536 + size[1] * 32768;
                    const fixed pivotX = size[0] * 32768, pivotY = size[1] * 32768;
                    ASSERT_EQ(both.draw(
                                  [&](BITMAP* b) {
                                      b->vtable->pivot_scaled_sprite_flip(b, sprite, x, y, pivotX,
                                                                          pivotY, ftofix(angle),
                                                                          itofix(1), FALSE);
                                  },
                                  [&](BITMAP* b) {
                                      pivotSprite(b, sprite, x, y, pivotX, pivotY, ftofix(angle));
                                  }),
                              "")
                        << size[0] << "x" << size[1] << " at " << place[0] << "," << place[1]
                        << " turned " << angle << (clipped ? " clipped" : "");
                    ++drawn;
                }
    }
    EXPECT_EQ(drawn, 7 * 15 * 7 * 2);
}

// A source that shares the target's pixels, through a sub-bitmap, must see
// them change as the library's own copy lets them: rows read after they
// were written, whichever way the two rectangles overlap.
TEST(FastDrawing, CopiesBetweenSharedPixelsAreTheLibrarys)
{
    HeadlessScreen screen;
    Both both(160, 100);
    // Draws the library's way and ours onto the same picture; the first
    // pixel where they differ, or "".
    auto same = [&](const std::function<void(BITMAP*, bool library)>& draw) {
        both.reset();
        paint(both.library, 21);
        paint(both.ours, 21);
        return both.draw([&](BITMAP* b) { draw(b, true); }, [&](BITMAP* b) { draw(b, false); });
    };
    auto copy = [](bool library, bool masked, BITMAP* from, BITMAP* to, int toX, int toY, int w,
                   int h) {
        auto draw = library ? (masked ? masked_blit : blit) : (masked ? maskedBlit : plainBlit);
        draw(from, to, 0, 0, toX, toY, w, h);
    };
    // Down and right, up and left, and along one row by less than eight.
    const Rect moves[] = {{10, 5, 20, 15, 100, 60}, {30, 20, 3, 2, 100, 60}, {8, 4, 11, 4, 90, 50}};
    for (const Rect& m : moves) {
        for (const bool masked : {false, true}) {
            EXPECT_EQ(same([&](BITMAP* b, bool library) {
                          withPart(b, m.fromX, m.fromY, m.w, m.h, [&](BITMAP* part) {
                              copy(library, masked, part, b, m.toX, m.toY, m.w, m.h);
                          });
                      }),
                      "")
                << (masked ? "masked " : "") << "copy from a part onto its parent at " << m.toX
                << "," << m.toY;
        }
    }
    EXPECT_EQ(same([&](BITMAP* b, bool library) {
                  withPart(b, 0, 0, 100, 70, [&](BITMAP* from) {
                      withPart(b, 12, 9, 100, 70,
                               [&](BITMAP* to) { copy(library, false, from, to, 0, 0, 100, 70); });
                  });
              }),
              "")
        << "copy between overlapping parts";

    // The under or the over picture a part of the target: the under part
    // above and left of where they land, the over part below and right,
    // where the first copy changes it.
    ScopedBitmap other(120, 80);
    paint(other, 22);
    for (const bool partIsUnder : {true, false}) {
        EXPECT_EQ(same([&](BITMAP* b, bool library) {
                      const int at = partIsUnder ? 5 : 25;
                      withPart(b, at + 5, at, 100, 60, [&](BITMAP* part) {
                          BITMAP* under = partIsUnder ? part : other.bitmap;
                          BITMAP* over = partIsUnder ? other.bitmap : part;
                          if (library) {
                              blit(under, b, 0, 0, 20, 15, 100, 60);
                              masked_blit(over, b, 0, 0, 20, 15, 100, 60);
                          } else {
                              maskedBlitOver(over, 0, 0, under, 0, 0, b, 20, 15, 100, 60);
                          }
                      });
                  }),
                  "")
            << (partIsUnder ? "under" : "over") << " a part of the target";
    }

    // A part, and the whole bitmap, turned a little and drawn a few pixels
    // right of where it was.
    auto turn = [](bool library, BITMAP* to, BITMAP* sprite, int x, int y, int angle) {
        const fixed pivotX = itofix(sprite->w / 2), pivotY = itofix(sprite->h / 2);
        if (library)
            to->vtable->pivot_scaled_sprite_flip(to, sprite, itofix(x), itofix(y), pivotX, pivotY,
                                                 itofix(angle), itofix(1), FALSE);
        else
            pivotSprite(to, sprite, itofix(x), itofix(y), pivotX, pivotY, itofix(angle));
    };
    for (const int angle : {0, 3}) {
        EXPECT_EQ(same([&](BITMAP* b, bool library) {
                      withPart(b, 20, 20, 60, 40,
                               [&](BITMAP* part) { turn(library, b, part, 53, 40, angle); });
                  }),
                  "")
            << "a part turned by " << angle << " onto its parent";
        EXPECT_EQ(same([&](BITMAP* b, bool library) { turn(library, b, b, 83, 50, angle); }), "")
            << "a bitmap turned by " << angle << " onto itself";
    }
}

TEST(FastDrawing, OtherKindsOfBitmapGoToTheLibrary)
{
    HeadlessScreen screen;
    // A sub-bitmap is still plain; a 16-bit one is not.
    ScopedBitmap parent(80, 60);
    paint(parent, 9);
    BITMAP* part = create_sub_bitmap(parent, 10, 5, 40, 30);
    Both both(100, 100);
    EXPECT_EQ(both.draw([&](BITMAP* b) { masked_blit(part, b, 0, 0, 7, 9, 40, 30); },
                        [&](BITMAP* b) { maskedBlit(part, b, 0, 0, 7, 9, 40, 30); }),
              "");
    EXPECT_EQ(
        both.draw(
            [&](BITMAP* b) {
                b->vtable->pivot_scaled_sprite_flip(b, part, itofix(50), itofix(50), itofix(20),
                                                    itofix(15), itofix(20), itofix(1), FALSE);
            },
            [&](BITMAP* b) {
                pivotSprite(b, part, itofix(50), itofix(50), itofix(20), itofix(15), itofix(20));
            }),
        "");
    destroy_bitmap(part);

    BITMAP* library = create_bitmap_ex(16, 50, 40);
    BITMAP* ours = create_bitmap_ex(16, 50, 40);
    clear_to_color(library, 1234);
    clear_to_color(ours, 1234);
    clearBitmap(ours, 999);
    clear_to_color(library, 999);
    BITMAP* black = create_bitmap_ex(16, 50, 40);
    clear_to_color(black, 0);
    set_trans_blender(255, 255, 255, 128);
    draw_trans_sprite(library, black, 0, 0);
    blendBlackOver(ours, 128);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(getpixel(library, x, y), getpixel(ours, x, y)) << x << "," << y;
    destroy_bitmap(black);
    destroy_bitmap(ours);
    destroy_bitmap(library);
}
