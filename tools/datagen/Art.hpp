#pragma once

#include "Canvas.hpp"

#include <string>
#include <vector>

namespace datagen {

struct Picture {
    std::string fileName;
    Canvas canvas;
    // Drawn masked or rotated by the game, so magenta shows the scene behind.
    bool masked;
};

// Troll, peasants, hills, cloud, flag and strength bar of the run.
std::vector<Picture> runPictures();
// Platform, target, fire-breather, bridge, fireball, lava and ammo icon.
std::vector<Picture> fireGamePictures();
// The turning disk and the arrow beside it.
std::vector<Picture> diskGamePictures();
// The title above the menu, on black.
Picture logoPicture();

std::vector<Picture> allPictures();

} // namespace datagen
