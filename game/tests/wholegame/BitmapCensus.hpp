#pragma once

// A count of the graphics library's bitmaps, for the whole-game tests only.
//
// The test program defines the library's bitmap makers and destroy_bitmap
// itself and hands each call on to the library's own. The library is a
// shared object, so its calls to them from inside (load_bitmap making and
// converting its picture, for one) come here as well.

#include <cstddef>
#include <string>
#include <vector>

struct BITMAP;

namespace census {

struct LiveBitmap {
    BITMAP* bitmap;
    std::string fileName; // the file it was loaded from; empty if made in memory
    int width, height;
};

// Every bitmap made and not yet destroyed.
std::vector<LiveBitmap> live();
std::size_t liveCount();
// Bitmaps made since the program started, including those destroyed since.
std::size_t madeCount();
// Whether a bitmap loaded from this file (bare name) is live.
bool isLoaded(const std::string& fileName);
// Calls of destroy_bitmap with something that was not a live bitmap.
std::size_t strayDestroys();

} // namespace census
