#pragma once

#include "Canvas.hpp"

#include <functional>
#include <vector>

namespace datagen {

struct Vec2 {
    double x = 0, y = 0;
};

struct Vec3 {
    double x = 0, y = 0, z = 1;
};

// Pixel rectangle a shape can touch, inclusive.
struct Box {
    int x0, y0, x1, y1;
};

// An area drawn as a lit, outlined body. distance() is negative inside and
// roughly the distance to the edge in pixels; normal() is the surface facing
// at a point inside, which gives the body its round look.
class Shape {
public:
    virtual ~Shape() = default;
    virtual Box bounds() const = 0;
    virtual double distance(Vec2 p) const = 0;
    virtual Vec3 normal(Vec2 p) const = 0;
};

// Lit like a ball; turn is in radians, clockwise on screen.
class Ellipse : public Shape {
public:
    Ellipse(Vec2 centre, double rx, double ry, double turn = 0.0);
    Box bounds() const override;
    double distance(Vec2 p) const override;
    Vec3 normal(Vec2 p) const override;

private:
    Vec2 local(Vec2 p) const;
    Vec2 centre_;
    double rx_, ry_, cos_, sin_;
};

// A rod from a to b whose radius goes from ra to rb: limbs, poles, clubs.
class Capsule : public Shape {
public:
    Capsule(Vec2 a, Vec2 b, double ra, double rb);
    Box bounds() const override;
    double distance(Vec2 p) const override;
    Vec3 normal(Vec2 p) const override;

private:
    double along(Vec2 p) const;
    Vec2 a_, b_;
    double ra_, rb_;
};

// A flat slab with bevelled edges bevel pixels wide.
class Polygon : public Shape {
public:
    explicit Polygon(std::vector<Vec2> corners, double bevel = 3.0);
    Box bounds() const override;
    double distance(Vec2 p) const override;
    Vec3 normal(Vec2 p) const override;

private:
    Vec2 nearestEdgePoint(Vec2 p) const;
    bool inside(Vec2 p) const;
    std::vector<Vec2> corners_;
    double bevel_;
};

struct Paint {
    Rgb base;
    Rgb line;
    double lineWidth = 1.4;
    double gloss = 0.3;
    // Brightness factor by position, for grain, bricks and spots.
    std::function<double(Vec2)> pattern;
};

// A paint with a dark outline of the same hue.
Paint paint(Rgb base, double lineWidth = 1.4);

void draw(Canvas& canvas, const Shape& shape, const Paint& paint);
// Colours every clear pixel next to a drawn one: the dark rim that holds a
// sprite together against any background.
void outlineSilhouette(Canvas& canvas, Rgb colour);
// Turns the whole picture left to right.
Canvas mirrored(const Canvas& canvas);

// A repeatable value in 0..1 for integer lattice points.
double hashNoise(int x, int y, int seed);
// Smooth noise in 0..1; repeats every period cells in x when period > 0.
double valueNoise(double x, double y, int seed, int period = 0);

} // namespace datagen
