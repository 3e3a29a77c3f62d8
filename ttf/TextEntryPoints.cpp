#include "ttf/Text.hpp"
#include "ttf/TextFont.hpp"

#include <allegro.h>

#include <cstdarg>

namespace {

// Room for 511 bytes of text and the terminating zero.
constexpr int kFormatBufferSize = 512;

using CoreDraw = void (*)(BITMAP*, TextFont*, const char*, int, int, int, int);

enum class Align { Left, Centred, Right };

// The left end of a text anchored at x; the halving truncates toward zero, so
// 7 pixels centred on 320 start at 317.
int leftEnd(TextFont* font, const char* text, int x, Align align)
{
    switch (align) {
    case Align::Centred:
        return x - text_width(font, text) / 2;
    case Align::Right:
        return x - text_width(font, text);
    case Align::Left:
        break;
    }
    return x;
}

void drawAligned(CoreDraw draw, Align align, BITMAP* bitmap, TextFont* font, const char* text,
                 int x, int y, int colour, int background)
{
    if (!font || !text)
        return;
    draw(bitmap, font, text, leftEnd(font, text, x, align), y, colour, background);
}

// The formatter stops at the last whole character that fits, so a cut never
// leaves half a UTF-8 sequence to be drawn.
void drawFormatted(CoreDraw draw, Align align, BITMAP* bitmap, TextFont* font, int x, int y,
                   int colour, int background, const char* format, va_list args)
{
    if (!format)
        return;
    char buffer[kFormatBufferSize];
    uvszprintf(buffer, kFormatBufferSize, format, args);
    drawAligned(draw, align, bitmap, font, buffer, x, y, colour, background);
}

} // namespace

void draw_text_smooth_centred_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                                 int colour, int background)
{
    drawAligned(draw_text_smooth_bg, Align::Centred, bitmap, font, text, x, y, colour, background);
}

void draw_text_smooth_centred(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                              int colour)
{
    drawAligned(draw_text_smooth_bg, Align::Centred, bitmap, font, text, x, y, colour,
                text_backdrop);
}

void draw_text_sharp_centred_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                                int colour, int background)
{
    drawAligned(draw_text_sharp_bg, Align::Centred, bitmap, font, text, x, y, colour, background);
}

void draw_text_sharp_centred(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                             int colour)
{
    drawAligned(draw_text_sharp_bg, Align::Centred, bitmap, font, text, x, y, colour,
                text_backdrop);
}

void draw_text_smooth_right_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                               int colour, int background)
{
    drawAligned(draw_text_smooth_bg, Align::Right, bitmap, font, text, x, y, colour, background);
}

void draw_text_smooth_right(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                            int colour)
{
    drawAligned(draw_text_smooth_bg, Align::Right, bitmap, font, text, x, y, colour, text_backdrop);
}

void draw_text_sharp_right_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                              int colour, int background)
{
    drawAligned(draw_text_sharp_bg, Align::Right, bitmap, font, text, x, y, colour, background);
}

void draw_text_sharp_right(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                           int colour)
{
    drawAligned(draw_text_sharp_bg, Align::Right, bitmap, font, text, x, y, colour, text_backdrop);
}

// Each printf form hands its values on to drawFormatted with its style,
// alignment and background.
#define TEXT_FORMATTED(draw, align, background)                                                    \
    va_list args;                                                                                  \
    va_start(args, format);                                                                        \
    drawFormatted(draw, align, bitmap, font, x, y, colour, background, format, args);              \
    va_end(args)

void draw_textf_sharp(BITMAP* bitmap, TextFont* font, int x, int y, int colour, const char* format,
                      ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Left, text_backdrop);
}

void draw_textf_sharp_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour, int background,
                         const char* format, ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Left, background);
}

void draw_textf_smooth(BITMAP* bitmap, TextFont* font, int x, int y, int colour, const char* format,
                       ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Left, text_backdrop);
}

void draw_textf_smooth_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour, int background,
                          const char* format, ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Left, background);
}

void draw_textf_sharp_centred(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                              const char* format, ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Centred, text_backdrop);
}

void draw_textf_sharp_centred_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                 int background, const char* format, ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Centred, background);
}

void draw_textf_smooth_centred(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                               const char* format, ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Centred, text_backdrop);
}

void draw_textf_smooth_centred_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                  int background, const char* format, ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Centred, background);
}

void draw_textf_sharp_right(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                            const char* format, ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Right, text_backdrop);
}

void draw_textf_sharp_right_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                               int background, const char* format, ...)
{
    TEXT_FORMATTED(draw_text_sharp_bg, Align::Right, background);
}

void draw_textf_smooth_right(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                             const char* format, ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Right, text_backdrop);
}

void draw_textf_smooth_right_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                int background, const char* format, ...)
{
    TEXT_FORMATTED(draw_text_smooth_bg, Align::Right, background);
}
