#include "Art.hpp"
#include "Shapes.hpp"

#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;

const Rgb kTrollSkin{104, 176, 64};
const Rgb kTrollBelly{168, 206, 102};
const Rgb kHide{128, 84, 44};
const Rgb kWood{160, 108, 56};
const Rgb kBone{240, 232, 200};
const Rgb kInk{18, 22, 14};

enum class Swing { Carry, Raised, Down };

void drawClub(Canvas& c, Vec2 grip, Vec2 tip)
{
    Paint wood = paint(kWood, 1.3);
    wood.pattern = [](Vec2 p) { return 0.85 + 0.2 * valueNoise(p.x * 0.9, p.y * 0.25, 7); };
    draw(c, Capsule(grip, tip, 2.6, 6.5), wood);
    const double dx = tip.x - grip.x, dy = tip.y - grip.y;
    const double len = std::hypot(dx, dy);
    const Vec2 head{tip.x - dx / len * 4, tip.y - dy / len * 4};
    draw(c, Ellipse(head, 10, 7.5, std::atan2(dy, dx)), wood);
    // Studs on the club head, so it reads as a weapon and not a stick.
    for (int i = -1; i <= 1; ++i) {
        const Vec2 stud{head.x - dy / len * 7 * i + dx / len * 3,
                        head.y + dx / len * 7 * i + dy / len * 3};
        draw(c, Ellipse(stud, 2.2, 2.2), paint(Rgb{190, 190, 200}, 0.9));
    }
}

void drawTrollHead(Canvas& c, Vec2 h, bool roaring)
{
    const Paint skin = paint(kTrollSkin);
    draw(c, Polygon({{h.x - 8, h.y - 6}, {h.x - 22, h.y - 14}, {h.x - 6, h.y + 3}}, 2), skin);
    draw(c, Ellipse(h, 14, 13), skin);
    draw(c, Ellipse({h.x + 13, h.y + 3}, 5.5, 4.5), paint(Rgb{120, 190, 80}));
    draw(c, Ellipse({h.x + 6, h.y - 3}, 3.6, 3.2), paint(Rgb{250, 240, 150}, 0.8));
    draw(c, Ellipse({h.x + 7.2, h.y - 2.6}, 1.6, 1.8), paint(kInk, 0.3));
    draw(c, Capsule({h.x - 1, h.y - 9}, {h.x + 11, h.y - 5}, 1.8, 1.6),
         paint(Rgb{40, 70, 20}, 0.5));
    if (roaring) {
        draw(c, Ellipse({h.x + 6, h.y + 9}, 6, 3.5), paint(Rgb{120, 20, 30}));
    } else {
        draw(c, Capsule({h.x + 1, h.y + 8}, {h.x + 11, h.y + 7}, 1.4, 1.4), paint(kInk, 0.5));
    }
    draw(c, Polygon({{h.x + 4, h.y + 9}, {h.x + 6, h.y + 2}, {h.x + 8.5, h.y + 9}}, 1.5),
         paint(kBone, 0.9));
}

void drawTrollLegs(Canvas& c, double stride)
{
    const Paint farSkin = paint(scale(kTrollSkin, 0.78));
    draw(c, Capsule({34, 58}, {30 - stride, 73}, 8, 6.5), farSkin);
    draw(c, Ellipse({32 - stride, 75.5}, 9.5, 4), farSkin);
    const Paint skin = paint(kTrollSkin);
    draw(c, Capsule({50, 58}, {52 + stride, 73}, 8.5, 7), skin);
    draw(c, Ellipse({55 + stride, 75.5}, 10.5, 4), skin);
}

void drawTrollBody(Canvas& c, Vec2 lean)
{
    draw(c, Capsule({26 + lean.x * 0.3, 30}, {18, 50}, 5.5, 5), paint(scale(kTrollSkin, 0.78)));
    draw(c, Ellipse({40 + lean.x * 0.5, 42 + lean.y * 0.5}, 25, 22), paint(kTrollSkin));
    draw(c, Ellipse({47 + lean.x * 0.5, 48 + lean.y * 0.5}, 15, 12), paint(kTrollBelly));
    Paint hide = paint(kHide);
    hide.pattern = [](Vec2 p) { return 0.8 + 0.3 * valueNoise(p.x * 0.5, p.y * 0.5, 3); };
    draw(c,
         Polygon({{18, 55},
                  {62, 55},
                  {60, 63},
                  {54, 60},
                  {48, 67},
                  {41, 61},
                  {34, 67},
                  {28, 61},
                  {20, 64}},
                 2.5),
         hide);
}

Canvas troll(double stride, Swing swing)
{
    Canvas c(110, 80);
    const Vec2 lean = swing == Swing::Down     ? Vec2{6, 5}
                      : swing == Swing::Raised ? Vec2{-3, -2}
                                               : Vec2{0, 0};
    drawTrollLegs(c, stride);
    if (swing == Swing::Raised) {
        drawClub(c, {40, 8}, {8, 6});
        draw(c, Capsule({48, 32}, {41, 9}, 6.5, 5.5), paint(kTrollSkin));
        draw(c, Ellipse({41, 8}, 6, 5.5), paint(kTrollSkin));
    }
    drawTrollBody(c, lean);
    drawTrollHead(c, {58 + lean.x, 19 + lean.y}, swing != Swing::Carry);
    if (swing == Swing::Carry) {
        drawClub(c, {73, 44}, {96, 14});
        draw(c, Capsule({52, 34}, {73, 44}, 6.5, 5.5), paint(kTrollSkin));
        draw(c, Ellipse({74, 44}, 6, 5.5), paint(kTrollSkin));
    } else if (swing == Swing::Down) {
        drawClub(c, {80, 52}, {100, 74});
        draw(c, Capsule({56, 36}, {79, 51}, 6.5, 5.5), paint(kTrollSkin));
        draw(c, Ellipse({80, 52}, 6, 5.5), paint(kTrollSkin));
    }
    outlineSilhouette(c, kInk);
    return c;
}

const Rgb kPeasantSkin{236, 184, 140};
const Rgb kStraw{226, 192, 92};

void drawPitchfork(Canvas& c, double bob)
{
    const Paint iron = paint(Rgb{170, 174, 186}, 0.8);
    for (double x : {7.0, 12.0, 17.0})
        draw(c, Capsule({x, 3 + bob}, {x, 13 + bob}, 1.2, 1.4), iron);
    draw(c, Capsule({6, 14 + bob}, {18, 14 + bob}, 1.6, 1.6), iron);
    draw(c, Capsule({12, 15 + bob}, {15, 74 + bob}, 1.8, 1.8), paint(kWood, 0.9));
}

// Facing left, towards the troll.
Canvas peasant(double stride, double bob)
{
    Canvas c(60, 80);
    const Paint trousers = paint(Rgb{110, 92, 70});
    const Paint boot = paint(Rgb{70, 48, 34});
    draw(c, Capsule({33, 56}, {36 + stride, 72}, 4.5, 3.8), paint(scale(trousers.base, 0.75)));
    draw(c, Ellipse({33 + stride, 75.5}, 6, 3.2), boot);
    draw(c, Capsule({27, 56}, {24 - stride, 72}, 4.5, 3.8), trousers);
    draw(c, Ellipse({21 - stride, 75.5}, 6, 3.2), boot);
    draw(c, Capsule({34, 36 + bob}, {40, 50 + bob}, 3.5, 3), paint(scale(Rgb{60, 110, 170}, 0.75)));
    Paint tunic = paint(Rgb{60, 110, 170});
    draw(c, Polygon({{21, 31 + bob}, {39, 31 + bob}, {43, 60}, {17, 60}}, 4), tunic);
    draw(c, Capsule({18, 50}, {42, 50}, 1.8, 1.8), paint(Rgb{90, 60, 30}, 0.8));
    draw(c, Ellipse({30, 21 + bob}, 9, 9), paint(kPeasantSkin));
    draw(c, Ellipse({21.5, 23 + bob}, 2.8, 2.4), paint(Rgb{230, 150, 120}, 0.8));
    draw(c, Ellipse({25, 19.5 + bob}, 1.2, 1.6), paint(kInk, 0.3));
    draw(c, Capsule({22, 16 + bob}, {27, 17.5 + bob}, 0.9, 0.9), paint(Rgb{90, 60, 30}, 0.4));
    draw(c, Capsule({23, 27 + bob}, {27, 26 + bob}, 0.9, 0.9), paint(Rgb{140, 50, 40}, 0.5));
    draw(c, Ellipse({31, 13 + bob}, 14, 3.6), paint(kStraw));
    draw(c, Ellipse({31, 9 + bob}, 8, 6), paint(kStraw));
    draw(c, Capsule({24, 11 + bob}, {38, 11 + bob}, 1.3, 1.3), paint(Rgb{170, 50, 40}, 0.6));
    drawPitchfork(c, bob);
    draw(c, Capsule({30, 35 + bob}, {16, 42 + bob}, 3.5, 3), tunic);
    draw(c, Ellipse({14.5, 42 + bob}, 3.5, 3.5), paint(kPeasantSkin));
    outlineSilhouette(c, kInk);
    return c;
}

// Flattened into the ground: every part lies in the bottom rows.
Canvas squashedPeasant()
{
    Canvas c(60, 80);
    draw(c, Capsule({3, 77}, {57, 76}, 1.6, 1.6), paint(kWood, 0.9));
    draw(c, Capsule({36, 74}, {56, 72}, 3.2, 2.8), paint(Rgb{110, 92, 70}));
    draw(c, Ellipse({56, 71}, 3.5, 3), paint(Rgb{70, 48, 34}));
    draw(c, Ellipse({28, 74}, 17, 5), paint(Rgb{60, 110, 170}));
    draw(c, Ellipse({10, 74}, 9, 4.5), paint(kPeasantSkin));
    const Paint ink = paint(kInk, 0.4);
    for (double x : {7.0, 12.0}) {
        draw(c, Capsule({x - 1.5, 72.5}, {x + 1.5, 75}, 0.6, 0.6), ink);
        draw(c, Capsule({x - 1.5, 75}, {x + 1.5, 72.5}, 0.6, 0.6), ink);
    }
    draw(c, Ellipse({14, 67}, 12, 3), paint(kStraw));
    draw(c, Ellipse({15, 64.5}, 7, 3), paint(kStraw));
    outlineSilhouette(c, kInk);
    return c;
}

double wave(double x, double width, double turns, double phase)
{
    return std::sin(2 * kPi * turns * x / width + phase);
}

// Two ridges that repeat across the picture's width, so copies side by side
// join without a seam.
Canvas hills()
{
    constexpr int kWidth = 640, kHeight = 250;
    Canvas c(kWidth, kHeight);
    for (int x = 0; x < kWidth; ++x) {
        const double far = 46 + 26 * wave(x, kWidth, 2, 1.0) + 12 * wave(x, kWidth, 5, 2.0);
        const double near = 118 + 28 * wave(x, kWidth, 1, 0.4) + 10 * wave(x, kWidth, 3, 2.6);
        for (int y = static_cast<int>(far); y < kHeight; ++y) {
            const bool nearLayer = y >= near;
            const double depth = nearLayer ? (y - near) : (y - far);
            Rgb col = nearLayer
                          ? mix(Rgb{116, 176, 92}, Rgb{78, 138, 70}, std::min(depth / 90, 1.0))
                          : mix(Rgb{168, 204, 184}, Rgb{132, 180, 158}, std::min(depth / 80, 1.0));
            col = scale(
                col, 0.92 + 0.12 * valueNoise(x / 8.0, y / 7.0, nearLayer ? 11 : 12, kWidth / 8));
            if (depth < 2)
                col = nearLayer ? Rgb{70, 120, 60} : Rgb{120, 160, 150};
            else if (depth < 5)
                col = scale(col, 1.12);
            c.set(x, y, col);
        }
    }
    const double trees[][3] = {{60, 0, 1},    {84, 6, 0.8},  {250, -4, 1.1},
                               {410, 2, 0.9}, {432, 8, 0.7}, {560, 0, 1}};
    for (const auto& t : trees) {
        for (int copy = -1; copy <= 1; ++copy) {
            const double x = t[0] + copy * kWidth;
            const double ground =
                118 + 28 * wave(t[0], kWidth, 1, 0.4) + 10 * wave(t[0], kWidth, 3, 2.6);
            const double s = t[2];
            draw(c, Capsule({x, ground + 4}, {x, ground - 16 * s}, 2.5 * s, 2 * s),
                 paint(Rgb{110, 80, 50}, 1));
            draw(c, Ellipse({x, ground - 24 * s + t[1] * 0.3}, 12 * s, 15 * s),
                 paint(Rgb{70, 140, 66}, 1.2));
            draw(c, Ellipse({x - 4 * s, ground - 30 * s}, 7 * s, 7 * s),
                 paint(Rgb{90, 160, 76}, 0.8));
        }
    }
    return c;
}

Canvas cloud()
{
    Canvas c(200, 96);
    Paint puff = paint(Rgb{250, 252, 255}, 0.0);
    puff.gloss = 0.0;
    const double blobs[][3] = {{44, 62, 26},  {78, 44, 32}, {118, 40, 30}, {150, 58, 26},
                               {100, 66, 28}, {64, 70, 22}, {172, 70, 18}, {26, 74, 16}};
    for (const auto& b : blobs)
        draw(c, Ellipse({b[0], b[1]}, b[2] * 1.15, b[2]), puff);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (!c.isClear(x, y) && y > 72)
                c.set(x, y, mix(c.at(x, y), Rgb{196, 210, 232}, std::min((y - 72) / 20.0, 0.7)));
    outlineSilhouette(c, Rgb{150, 168, 200});
    return c;
}

// The cloth streams to the left of the pole; the pole stands 60 pixels in,
// where the flag's place on the hill is.
Canvas flag()
{
    constexpr int kPoleX = 60;
    Canvas c(72, 130);
    for (int x = 6; x < kPoleX - 1; ++x) {
        const double along = (kPoleX - x) / 54.0;
        const double ripple = std::sin(along * 2.6 * kPi);
        const double top = 14 + 5 * ripple * along, bottom = 50 + 5 * ripple * along - 4 * along;
        const double light = 0.86 + 0.22 * std::cos(along * 2.6 * kPi);
        for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
            const int checkX = static_cast<int>((kPoleX - x) / 9.0);
            const int checkY = static_cast<int>((y - top) / (bottom - top) * 4.0);
            const Rgb cloth = (checkX + checkY) % 2 ? Rgb{236, 206, 40} : Rgb{214, 40, 44};
            const bool edge = y - top < 1.5 || bottom - y < 1.5 || x < 8;
            c.set(x, y, edge ? scale(cloth, 0.45) : scale(cloth, light));
        }
    }
    draw(c, Capsule({kPoleX, 10}, {kPoleX, 129}, 2.6, 2.6), paint(Rgb{150, 110, 70}, 1));
    draw(c, Ellipse({kPoleX, 8}, 5.5, 5.5), paint(Rgb{250, 200, 60}, 1));
    outlineSilhouette(c, kInk);
    return c;
}

// Drawn plain, so every pixel is opaque; the recess holds 30 segments of
// 4 pixels at a pitch of 5, starting 6 pixels in.
Canvas barFrame()
{
    Canvas c(160, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 160; ++x) {
            const double t = y / 29.0;
            Rgb metal = mix(Rgb{236, 214, 140}, Rgb{120, 86, 40}, t);
            if (x == 0 || y == 0)
                metal = Rgb{255, 244, 200};
            if (x == 159 || y == 29)
                metal = Rgb{70, 46, 20};
            c.set(x, y, metal);
        }
    for (int y = 3; y <= 26; ++y)
        for (int x = 4; x <= 156; ++x) {
            const bool rim = y == 3 || x == 4;
            c.set(x, y,
                  rim ? Rgb{10, 10, 14} : mix(Rgb{30, 28, 40}, Rgb{56, 52, 70}, (y - 3) / 23.0));
        }
    return c;
}

Canvas barSegment(Rgb colour)
{
    Canvas c(4, 20);
    const double across[4] = {1.15, 1.35, 1.0, 0.7};
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 4; ++x) {
            const double down = 1.1 - 0.35 * y / 19.0;
            c.set(x, y,
                  y < 2 ? mix(colour, Rgb{255, 255, 255}, 0.5) : scale(colour, across[x] * down));
        }
    return c;
}

} // namespace

std::vector<Picture> runPictures()
{
    std::vector<Picture> p;
    p.push_back({"troll1.bmp", troll(-3, Swing::Carry), true});
    p.push_back({"troll2.bmp", troll(3, Swing::Carry), true});
    p.push_back({"troll3.bmp", troll(0, Swing::Raised), true});
    p.push_back({"troll4.bmp", troll(0, Swing::Down), true});
    p.push_back({"peasant1.bmp", peasant(-4, 0), true});
    p.push_back({"peasant2.bmp", peasant(4, 1), true});
    p.push_back({"peasant3.bmp", squashedPeasant(), true});
    p.push_back({"hillbg.bmp", hills(), true});
    p.push_back({"cloud.bmp", cloud(), true});
    p.push_back({"mgflag.bmp", flag(), true});
    p.push_back({"bar.bmp", barFrame(), false});
    p.push_back({"barred.bmp", barSegment(Rgb{226, 44, 40}), false});
    p.push_back({"bargreen.bmp", barSegment(Rgb{60, 206, 70}), false});
    return p;
}

} // namespace datagen
