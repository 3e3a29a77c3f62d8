#include "Art.hpp"
#include "Shapes.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgb kInk{20, 12, 16};

// Black, dark red, orange, yellow, white: the colours of anything burning.
Rgb flameColour(double heat)
{
    static const Rgb stops[] = {
        {60, 0, 0}, {190, 30, 10}, {250, 120, 20}, {255, 220, 60}, {255, 255, 220}};
    heat = std::clamp(heat, 0.0, 1.0) * 4.0;
    const int i = std::min(static_cast<int>(heat), 3);
    return mix(stops[i], stops[i + 1], heat - i);
}

Canvas platform()
{
    Canvas c(120, 30);
    Paint stone = paint(Rgb{132, 120, 150}, 1.4);
    stone.pattern = [](Vec2 p) {
        const int row = static_cast<int>(p.y / 7);
        const double joint = std::fmod(p.x + row * 9, 18.0);
        return (joint < 1.2 || std::fmod(p.y, 7.0) < 1.0 ? 0.7 : 1.0)
               * (0.9 + 0.2 * valueNoise(p.x / 4, p.y / 4, 5));
    };
    draw(c, Polygon({{4, 14}, {116, 14}, {96, 28}, {24, 28}}, 4), stone);
    draw(c, Polygon({{1, 2}, {119, 2}, {119, 15}, {1, 15}}, 3), stone);
    for (double x : {30.0, 60.0, 90.0})
        draw(c, Ellipse({x, 22}, 3, 2.5), paint(Rgb{120, 230, 255}, 0.8));
    outlineSilhouette(c, kInk);
    return c;
}

// A pompous little wizard-king facing the fire-breather on the right.
void drawFumbo(Canvas& c, bool scorched, bool flailing)
{
    auto tint = [&](Rgb col) { return scorched ? mix(col, Rgb{40, 30, 30}, 0.55) : col; };
    const Paint robe = paint(tint(Rgb{90, 70, 200}));
    const Paint skin = paint(tint(Rgb{240, 196, 160}));
    draw(c, Ellipse({14, 61}, 6, 3), paint(tint(Rgb{80, 50, 30})));
    draw(c, Ellipse({27, 61}, 6, 3), paint(tint(Rgb{80, 50, 30})));
    draw(c, Polygon({{12, 30}, {28, 30}, {35, 60}, {5, 60}}, 4), robe);
    draw(c, Capsule({20, 32}, {20, 58}, 2, 2), paint(tint(Rgb{240, 200, 60}), 0.8));
    if (flailing) {
        draw(c, Capsule({12, 34}, {3, 22}, 3, 2.5), robe);
        draw(c, Capsule({28, 34}, {37, 22}, 3, 2.5), robe);
    } else {
        draw(c, Capsule({13, 34}, {8, 46}, 3, 2.5), robe);
        draw(c, Capsule({27, 34}, {34, 42}, 3, 2.5), robe);
        draw(c, Ellipse({34.5, 42.5}, 3, 3), skin);
    }
    draw(c, Ellipse({20, 22}, 11, 10), skin);
    draw(c, Ellipse({20, 29}, 8, 5), paint(tint(Rgb{236, 236, 240})));
    draw(c, Ellipse({24, 19}, 2.4, 2.8), paint(Rgb{255, 255, 255}, 0.6));
    draw(c, Ellipse({25, 19.5}, 1.1, 1.4), paint(kInk, 0.3));
    draw(c, Ellipse({29, 23}, 3, 2.4), paint(tint(Rgb{230, 150, 130})));
    const Paint gold = paint(tint(Rgb{250, 204, 50}));
    draw(c, Polygon({{9, 13}, {31, 13}, {31, 2}, {26, 8}, {20, 1}, {14, 8}, {9, 2}}, 2), gold);
    draw(c, Ellipse({20, 9}, 2, 2), paint(Rgb{220, 30, 60}, 0.6));
}

Canvas fumbo(bool falling)
{
    Canvas c(40, 64);
    drawFumbo(c, falling, falling);
    if (!falling) {
        outlineSilhouette(c, kInk);
        return c;
    }
    // Tumbling head over heels.
    Canvas flipped(40, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 40; ++x)
            if (!c.isClear(x, y))
                flipped.set(x, 63 - y, c.at(x, y));
    for (int i = 0; i < 3; ++i)
        draw(flipped, Ellipse({8.0 + 11 * i, 4.0 + 3 * (i % 2)}, 5, 4),
             paint(Rgb{150, 150, 150}, 0.6));
    outlineSilhouette(flipped, kInk);
    return flipped;
}

// Faces left, its jaws 50 pixels above the bridge where the shots leave.
Canvas breather(bool breathing)
{
    Canvas c(136, 100);
    const Rgb scales{210, 70, 40};
    Paint hide = paint(scales);
    hide.pattern = [](Vec2 p) {
        return std::fmod(p.x + 3 * std::sin(p.y * 0.6), 7.0) < 1.2 ? 0.82 : 1.0;
    };
    const Paint belly = paint(Rgb{246, 200, 90});
    const Paint wing = paint(Rgb{150, 40, 60});
    draw(c, Capsule({96, 84}, {132, 70}, 9, 3), hide);
    draw(c, Polygon({{128, 72}, {135, 60}, {135, 76}}, 2), paint(Rgb{250, 210, 80}));
    draw(c, Polygon({{70, 40}, {104, 4}, {112, 20}, {122, 14}, {120, 34}, {128, 36}, {100, 56}}, 3),
         wing);
    draw(c, Capsule({88, 80}, {92, 96}, 7, 6), paint(scale(scales, 0.75)));
    draw(c, Ellipse({86, 66}, 32, 24), hide);
    draw(c, Ellipse({76, 74}, 20, 14), belly);
    draw(c, Capsule({66, 82}, {60, 96}, 7.5, 6.5), hide);
    draw(c, Ellipse({56, 97}, 9, 3), paint(Rgb{240, 230, 200}));
    draw(c, Ellipse({94, 97}, 9, 3), paint(Rgb{240, 230, 200}));
    const double lift = breathing ? -4 : 0;
    draw(c, Capsule({62, 60}, {40, 50 + lift}, 12, 10), hide);
    for (int i = 0; i < 4; ++i)
        draw(c,
             Polygon(
                 {{52.0 + 10 * i, 40.0 - i}, {58.0 + 10 * i, 30.0 - i}, {62.0 + 10 * i, 42.0 - i}},
                 1.5),
             paint(Rgb{250, 210, 80}));
    const Vec2 head{30, 52 + lift};
    draw(c,
         Polygon({{head.x + 6, head.y - 10}, {head.x + 24, head.y - 24}, {head.x + 14, head.y - 6}},
                 2),
         paint(Rgb{240, 230, 200}));
    draw(c, Ellipse(head, 17, 12), hide);
    if (breathing) {
        draw(c,
             Polygon({{head.x - 16, head.y + 4},
                      {head.x + 8, head.y + 2},
                      {head.x + 4, head.y + 18},
                      {head.x - 12, head.y + 16}},
                     2),
             paint(Rgb{110, 10, 30}));
        draw(c, Capsule({head.x - 14, head.y + 17}, {head.x + 6, head.y + 12}, 3, 3), hide);
    } else {
        draw(c, Capsule({head.x - 16, head.y + 4}, {head.x + 6, head.y + 6}, 4, 4), hide);
    }
    draw(c, Ellipse({head.x - 14, head.y - 4}, 2, 1.5), paint(kInk, 0.5));
    draw(c, Ellipse({head.x + 2, head.y - 5}, 4, 3.5), paint(Rgb{255, 240, 80}, 0.8));
    draw(c, Ellipse({head.x + 1, head.y - 5}, 1.3, 2.8), paint(kInk, 0.3));
    draw(c, Capsule({head.x - 4, head.y - 10}, {head.x + 8, head.y - 8}, 1.8, 1.5),
         paint(Rgb{90, 20, 20}, 0.6));
    if (breathing) {
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < 22; ++x) {
                const double dy = (y - (head.y + 9)) / (4.0 + x * 0.5);
                const double heat =
                    1.1 - std::abs(dy) - x / 40.0 + 0.25 * valueNoise(x / 3.0, y / 3.0, 21) - 0.1;
                if (heat > 0.15 && c.isClear(x, y))
                    c.set(x, y, flameColour(heat));
            }
    }
    outlineSilhouette(c, kInk);
    return c;
}

// Drawn plain from x 400 to the right edge; arches repeat every tile.
Canvas bridge()
{
    constexpr int kW = 80, kH = 60;
    Canvas c(kW, kH, Rgb{0, 0, 0});
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const double archTop =
                26 + 20 * (1 - std::sqrt(std::max(0.0, 1 - std::pow((x - 40) / 28.0, 2))));
            const bool deck = y < 18, pier = x < 12 || x >= 68;
            if (!deck && !pier && y > archTop)
                continue;
            const int row = y / 6;
            const bool joint = y % 6 == 0 || (x + row * 7) % 16 == 0;
            double k = 0.85 + 0.25 * valueNoise(x / 4.0, y / 3.0, 31, kW / 4);
            if (joint)
                k = 0.55;
            if (y == 0)
                k = 1.35;
            if (!deck && !pier && y > archTop - 2)
                k = 0.4;
            c.set(x, y, scale(deck ? Rgb{150, 120, 110} : Rgb{118, 96, 92}, k));
        }
    }
    return c;
}

Canvas fireball()
{
    Canvas c(48, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 48; ++x) {
            const double core = std::hypot((x - 13) / 11.0, (y - 15) / 11.0);
            const double spread = 4 + (x - 13) * 0.22;
            const double tail =
                x > 13 ? 1.0 - std::abs(y - 15 + 2 * std::sin(x * 0.35)) / spread - (x - 13) / 38.0
                       : 0.0;
            const double flicker = 0.22 * (valueNoise(x / 3.0, y / 3.0, 41) - 0.5);
            const double heat = std::max(1.15 - core, tail) + flicker;
            if (heat > 0.2)
                c.set(x, y, flameColour(heat));
        }
    outlineSilhouette(c, Rgb{90, 10, 0});
    return c;
}

// Tiled plain along the bottom edge, black above its surface like the
// cavern behind it.
Canvas lava()
{
    constexpr int kW = 64, kH = 48;
    Canvas c(kW, kH, Rgb{0, 0, 0});
    for (int x = 0; x < kW; ++x) {
        const double surface =
            9 + 3 * std::sin(2 * kPi * x / kW) + 2 * std::sin(4 * kPi * x / kW + 1);
        for (int y = static_cast<int>(surface); y < kH; ++y) {
            const double crust = valueNoise(x / 8.0, y / 4.0, 51, kW / 8);
            const double vein = std::abs(valueNoise(x / 8.0, y / 6.0, 52, kW / 8) - 0.5);
            double heat = 0.95 - (y - surface) / 90.0 - (vein < 0.06 ? 0.0 : 0.25) + 0.1 * crust;
            if (y - surface < 2)
                heat = 1.0;
            c.set(x, y, flameColour(heat * 0.9));
        }
    }
    for (const auto& b : {std::array<double, 3>{18, 22, 3.5}, {44, 34, 2.5}})
        draw(c, Ellipse({b[0], b[1]}, b[2], b[2]), paint(Rgb{255, 210, 80}, 0.8));
    return c;
}

Canvas ammoIcon()
{
    Canvas c(32, 32);
    const double layers[][3] = {{0.0, 14, 1.0}, {3.0, 10, 0.75}, {7.0, 6, 0.45}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            for (const auto& l : layers) {
                const double cy = 21 + l[0] * 0.3;
                const double r = l[1] * (y < cy ? 1 - (cy - y) / (22.0 - l[0] * 0.8) : 1);
                const double dx = x + 0.5 - 16 - 2 * std::sin((cy - y) * 0.3) * (y < cy);
                const double dy = y < cy ? 0 : (y - cy) / (l[1] * 0.8) * r;
                if (y > l[0] * 0.5 && std::hypot(dx, dy) < r)
                    c.set(x, y, flameColour(l[2] == 1.0 ? 0.45 : l[2] == 0.75 ? 0.7 : 0.95));
            }
        }
    outlineSilhouette(c, Rgb{90, 10, 0});
    return c;
}

} // namespace

std::vector<Picture> fireGamePictures()
{
    std::vector<Picture> p;
    p.push_back({"fumboplat.bmp", platform(), true});
    p.push_back({"fumbo1.bmp", fumbo(false), true});
    p.push_back({"fumbo2.bmp", fumbo(true), true});
    p.push_back({"grumoka.bmp", breather(false), true});
    p.push_back({"grumokb.bmp", breather(true), true});
    p.push_back({"bridge.bmp", bridge(), false});
    p.push_back({"fireball.bmp", fireball(), true});
    p.push_back({"lava.bmp", lava(), false});
    p.push_back({"fire.bmp", ammoIcon(), true});
    return p;
}

} // namespace datagen
