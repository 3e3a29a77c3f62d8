// Feeds arbitrary bytes to the game's picture loading as a BMP file: the
// check must refuse whatever the library's reader cannot read safely, and a
// picture it lets through must load and draw without harm.

#include "framework/Graphics.hpp"
#include "framework/Image.hpp"

#include <allegro.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The library reads pictures from files only, and picks its reader by the
// name's ending.
std::string picturePath;

void removePicture()
{
    std::remove(picturePath.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
        std::abort();
    set_color_depth(32);
    set_color_conversion(COLORCONV_8_TO_32 | COLORCONV_15_TO_32 | COLORCONV_16_TO_32
                         | COLORCONV_24_TO_32);
    backBuffer = create_bitmap(160, 120);
    const char* folder = std::getenv("TMPDIR");
    picturePath =
        std::string(folder ? folder : "/tmp") + "/bmp_fuzz-" + std::to_string(getpid()) + ".bmp";
    std::atexit(removePicture);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(picturePath.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    Image image;
    image.load(picturePath.c_str());
    if (image.width() > 0) {
        image.draw(-image.width() / 2, 10);
        image.drawMasked(100, -image.height() / 2);
        image.drawRotated(40, 30, 1.25);
    }
    return 0;
}
