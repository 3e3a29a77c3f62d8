#include "Art.hpp"
#include "Shapes.hpp"

#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kInk{16, 14, 24};

// Turned about its centre by the game; unturned, the pointer aims right,
// at the arrow, which is where a press wins.
Canvas disk()
{
    constexpr int kSize = 200;
    constexpr double kC = 99.5, kRim = 97, kFace = 86;
    Canvas c(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - kC - 0.5, dy = y + 0.5 - kC - 0.5;
            const double r = std::hypot(dx, dy);
            if (r > kRim)
                continue;
            if (r > kFace) {
                const double t = (r - kFace) / (kRim - kFace);
                const double light = 0.75 + 0.35 * (-dx - dy) / r * (0.5 - t);
                c.set(x, y,
                      r > kRim - 1.5 || r < kFace + 1.2 ? kInk : scale(Rgb{180, 186, 200}, light));
                continue;
            }
            const double a = std::atan2(dy, dx) + kPi;
            const int wedge = static_cast<int>(a / (2 * kPi) * 12) % 12;
            Rgb face = wedge % 2 ? Rgb{40, 110, 200} : Rgb{236, 236, 226};
            const double shade = 1.05 - 0.25 * r / kFace + 0.1 * (-dx - dy) / (r + 1) * r / kFace;
            c.set(x, y, scale(face, shade));
        }
    for (int i = 0; i < 12; ++i) {
        const double a = (i + 0.5) * 2 * kPi / 12;
        draw(c, Ellipse({kC + 0.5 + 91.5 * std::cos(a), kC + 0.5 + 91.5 * std::sin(a)}, 2.4, 2.4),
             paint(Rgb{230, 230, 240}, 0.8));
    }
    const double mid = kC + 0.5;
    draw(c,
         Polygon({{mid - 6, mid - 13},
                  {mid + 60, mid - 13},
                  {mid + 60, mid - 24},
                  {mid + 94, mid},
                  {mid + 60, mid + 24},
                  {mid + 60, mid + 13},
                  {mid - 6, mid + 13}},
                 4),
         paint(Rgb{236, 40, 40}, 2.0));
    draw(c, Ellipse({mid, mid}, 18, 18), paint(Rgb{250, 204, 50}, 1.6));
    draw(c, Ellipse({mid, mid}, 6, 6), paint(Rgb{160, 120, 30}, 1.2));
    return c;
}

// Points left at the disk; drawn masked, centred on the disk's height.
Canvas arrow()
{
    Canvas c(100, 60);
    draw(c, Polygon({{2, 30}, {38, 2}, {38, 17}, {97, 17}, {97, 43}, {38, 43}, {38, 58}}, 5),
         paint(Rgb{250, 200, 40}, 1.8));
    outlineSilhouette(c, kInk);
    return c;
}

} // namespace

std::vector<Picture> diskGamePictures()
{
    std::vector<Picture> p;
    p.push_back({"disk.bmp", disk(), true});
    p.push_back({"arrow.bmp", arrow(), true});
    return p;
}

} // namespace datagen
