#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// The game leaves magenta out of every masked and rotated copy.
constexpr Rgb kMagenta{255, 0, 255};

Rgb rgb(int r, int g, int b);
// a at t = 0, b at t = 1.
Rgb mix(Rgb a, Rgb b, double t);
// Brightness times k, clamped to 0..255.
Rgb scale(Rgb c, double k);

// A picture being drawn. Pixels start magenta, which stands for "nothing
// drawn here"; a drawn pixel never turns magenta by accident.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill = kMagenta);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    bool isClear(int x, int y) const { return at(x, y) == kMagenta; }

    void set(int x, int y, Rgb c);
    void clear(int x, int y);
    // Lays c over the pixel with the given opacity; on a clear pixel only an
    // opacity of one half or more paints, so silhouettes keep hard edges.
    void blend(int x, int y, Rgb c, double alpha);
    void fill(Rgb c);

    // The picture as a 24-bit bottom-up Windows BMP file.
    std::vector<std::uint8_t> toBmp() const;

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

} // namespace datagen
