// Feeds arbitrary bytes to the renderer as a font file: the load must refuse
// or accept them without harm, and an accepted font must measure and draw at
// the game's heights without reading or writing outside what it owns.

#include "ttf/Text.hpp"

#include <allegro.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace {

BITMAP* target = nullptr;

constexpr const char* kTexts[] = {
    "SCORE: 1234",
    "Grimbledom! \xc3\x84\xc3\xb6\xc3\x9f \xe2\x82\xac",
    "a\xcc\x81 \xf0\x9f\x98\x80 \xef\xbf\xbd",
    "\xff\xfe broken \xe2\x82",
};

void drawEverything(TextFont* font)
{
    const int white = makecol(255, 255, 255);
    const int magenta = makecol(255, 0, 255);
    for (const char* text : kTexts) {
        text_width(font, text);
        draw_text_smooth_bg(target, font, text, 2, 2, white, magenta);
        draw_text_smooth_bg(target, font, text, -20, 10, white, -1);
        draw_text_sharp_centred_bg(target, font, text, 80, -4, white, magenta);
        draw_text_smooth_right(target, font, text, 150, 20, white);
    }
    draw_textf_sharp_centred_bg(target, font, 80, 5, white, magenta, "COMBO: %d", 42);
    draw_textf_smooth_centred_bg(target, font, 80, 5, white, -1, "%d%%", 50);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
        std::abort();
    set_color_depth(32);
    if (text_system_startup() != 0)
        std::abort();
    target = create_bitmap(160, 40);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > INT_MAX)
        return 0;
    TextFont* font = text_font_load_memory(data, static_cast<int>(size));
    if (!font)
        return 0;
    text_font_is_fixed(font);
    text_font_fixed_sizes(font);
    drawEverything(font);
    text_font_set_spacing(font, 2);
    for (int height : {24, 36, 13}) {
        if (text_font_set_height(font, height) == 0)
            drawEverything(font);
    }
    text_font_destroy(font);
    return 0;
}
