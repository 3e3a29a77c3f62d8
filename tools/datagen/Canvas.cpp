#include "Canvas.hpp"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

std::uint8_t channel(double v)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

Rgb rgb(int r, int g, int b)
{
    return {channel(r), channel(g), channel(b)};
}

Rgb mix(Rgb a, Rgb b, double t)
{
    return {channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t),
            channel(a.b + (b.b - a.b) * t)};
}

Rgb scale(Rgb c, double k)
{
    return {channel(c.r * k), channel(c.g * k), channel(c.b * k)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

void Canvas::set(int x, int y, Rgb c)
{
    if (!contains(x, y))
        return;
    if (c == kMagenta)
        c.g = 1;
    pixels_[index(x, y)] = c;
}

void Canvas::clear(int x, int y)
{
    if (contains(x, y))
        pixels_[index(x, y)] = kMagenta;
}

void Canvas::blend(int x, int y, Rgb c, double alpha)
{
    if (!contains(x, y) || alpha <= 0.0)
        return;
    if (isClear(x, y)) {
        if (alpha >= 0.5)
            set(x, y, c);
        return;
    }
    set(x, y, mix(at(x, y), c, std::min(alpha, 1.0)));
}

void Canvas::fill(Rgb c)
{
    std::fill(pixels_.begin(), pixels_.end(), c);
}

std::vector<std::uint8_t> Canvas::toBmp() const
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * height_;
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, width_, 4);
    putLe(out, height_, 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb c = at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = width_ * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace datagen
