// Microseconds per string for the kinds of text the game draws each frame,
// ours into a 640 by 480 32-bit Allegro memory bitmap, SDL2_ttf's rendered
// and copied into an SDL surface of the same size, from the same font file at
// the same FreeType pixel size. Glyphs are cached before timing starts.

#include "ttf/Text.hpp"
#include "ttf/TextFont.hpp"

#include <SDL.h>
#include <SDL_ttf.h>
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kStringsPerRun = 2000;
constexpr int kRuns = 9;
constexpr int kCentreX = 320;

// Median over several runs of the microseconds one call takes; each call is
// handed its run-wide index, so formatted numbers change as in the game.
double microsecondsPerString(const std::function<void(int)>& drawOne)
{
    for (int i = 0; i < 200; ++i)
        drawOne(i);
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kStringsPerRun; ++i)
            drawOne(i * 37);
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        runs.push_back(spent.count() / kStringsPerRun);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

// SDL2_ttf's side: render a new surface for the string, then copy it centred
// onto the screen surface, over a box of its own for the solid style.
struct SdlSide {
    SDL_Surface* screen;
    SDL_Color white{255, 255, 255, 255};
    SDL_Color black{0, 0, 0, 255};

    void solidOnBox(TTF_Font* font, const char* text, int y, Uint32 box)
    {
        SDL_Surface* rendered = TTF_RenderUTF8_Solid(font, text, white);
        SDL_Rect where{kCentreX - rendered->w / 2, y, rendered->w, rendered->h};
        SDL_FillRect(screen, &where, box);
        SDL_BlitSurface(rendered, nullptr, screen, &where);
        SDL_FreeSurface(rendered);
    }

    void shaded(TTF_Font* font, const char* text, int y)
    {
        SDL_Surface* rendered = TTF_RenderUTF8_Shaded(font, text, white, black);
        SDL_Rect where{kCentreX - rendered->w / 2, y, rendered->w, rendered->h};
        SDL_BlitSurface(rendered, nullptr, screen, &where);
        SDL_FreeSurface(rendered);
    }
};

void report(const char* kind, double ours, double theirs)
{
    std::printf("%-40s %10.2f %10.2f %8.2f\n", kind, ours, theirs, ours / theirs);
}

} // namespace

int main(int argc, char** argv)
{
    const char* fontPath = argc > 1 ? argv[1] : kDefaultFont;
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
        return 1;
    set_color_depth(32);
    text_system_startup();
    TextFont* small = text_font_load(fontPath);
    TextFont* large = text_font_load(fontPath);
    if (!small || !large || text_font_set_height(small, 24) || text_font_set_height(large, 36)) {
        std::fprintf(stderr, "cannot use the font %s\n", fontPath);
        return 1;
    }
    BITMAP* target = create_bitmap(kScreenWidth, kScreenHeight);
    const int white = makecol(255, 255, 255);
    const int magenta = makecol(255, 0, 255);

    if (SDL_Init(0) != 0 || TTF_Init() != 0)
        return 1;
    TTF_Font* sdlSmall = TTF_OpenFont(fontPath, small->pixel_size);
    TTF_Font* sdlLarge = TTF_OpenFont(fontPath, large->pixel_size);
    SdlSide sdl{SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32,
                                               SDL_PIXELFORMAT_ARGB8888)};
    if (!sdlSmall || !sdlLarge || !sdl.screen)
        return 1;
    const Uint32 sdlMagenta = SDL_MapRGB(sdl.screen->format, 255, 0, 255);

    std::printf(
        "font %s, pixel sizes %d and %d; microseconds per string, median of %d runs of %d\n",
        fontPath, small->pixel_size, large->pixel_size, kRuns, kStringsPerRun);
    std::printf("%-40s %10s %10s %8s\n", "kind", "ours", "SDL2_ttf", "ratio");

    char text[64];
    report("\"SCORE: %d\" sharp, magenta box, 24 px", microsecondsPerString([&](int i) {
               draw_textf_sharp_centred_bg(target, small, kCentreX, 10, white, magenta, "SCORE: %d",
                                           i * 10);
           }),
           microsecondsPerString([&](int i) {
               std::snprintf(text, sizeof text, "SCORE: %d", i * 10);
               sdl.solidOnBox(sdlSmall, text, 10, sdlMagenta);
           }));
    report("\"COMBO: %d\" sharp, magenta box, 36 px", microsecondsPerString([&](int i) {
               draw_textf_sharp_centred_bg(target, large, kCentreX, 100, white, magenta,
                                           "COMBO: %d", i % 200);
           }),
           microsecondsPerString([&](int i) {
               std::snprintf(text, sizeof text, "COMBO: %d", i % 200);
               sdl.solidOnBox(sdlLarge, text, 100, sdlMagenta);
           }));
    const char* const labels[] = {"NEW GAME", "FUMBO ATTACK", "SPIN ATTACK", "QUIT"};
    report("menu label smooth, black box, 36 px", microsecondsPerString([&](int i) {
               draw_text_smooth_centred(target, large, labels[i % 4], kCentreX, 200, white);
           }),
           microsecondsPerString([&](int i) { sdl.shaded(sdlLarge, labels[i % 4], 200); }));

    TTF_CloseFont(sdlLarge);
    TTF_CloseFont(sdlSmall);
    SDL_FreeSurface(sdl.screen);
    TTF_Quit();
    SDL_Quit();
    destroy_bitmap(target);
    text_font_destroy(large);
    text_font_destroy(small);
    text_system_shutdown();
    return 0;
}
