#include "Graphics.hpp"

#include <allegro.h>

const int graphicsCard = GFX_AUTODETECT_FULLSCREEN;
