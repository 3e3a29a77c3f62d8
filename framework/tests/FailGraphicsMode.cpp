// Test-only: preloaded into the game to make every graphics-mode request but
// text mode fail, the way a display without a 640 by 480 mode would.
#include <allegro.h>

#include <dlfcn.h>

extern "C" int set_gfx_mode(int card, int w, int h, int v_w, int v_h)
{
    if (card == GFX_TEXT) {
        using SetGfxMode = int (*)(int, int, int, int, int);
        auto real = reinterpret_cast<SetGfxMode>(dlsym(RTLD_NEXT, "set_gfx_mode"));
        return real(card, w, h, v_w, v_h);
    }
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "Resolution not supported");
    return -1;
}
