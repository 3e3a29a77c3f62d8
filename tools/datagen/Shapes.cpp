#include "Shapes.hpp"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

// Light from the upper left, in front of the picture.
const Vec3 kLight{-0.5, -0.7, 0.52};

Vec3 normalised(Vec3 v)
{
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 dome(double ux, double uy)
{
    const double r2 = std::min(ux * ux + uy * uy, 1.0);
    return normalised({ux, uy, std::sqrt(1.0 - r2) + 0.15});
}

Rgb litColour(const Shape& shape, const Paint& paint, Vec2 p)
{
    const Vec3 n = shape.normal(p);
    const Vec3 l = normalised(kLight);
    const double diffuse = std::max(0.0, dot(n, l));
    // Half vector of light and viewer, for the shine on round bodies.
    const Vec3 h = normalised({l.x, l.y, l.z + 1.0});
    const double shine = paint.gloss * std::pow(std::max(0.0, dot(n, h)), 18.0);
    double k = 0.42 + 0.78 * diffuse;
    if (paint.pattern)
        k *= paint.pattern(p);
    const Rgb lit = scale(paint.base, k);
    return mix(lit, Rgb{255, 255, 255}, std::min(shine, 1.0));
}

Box clipBox(Box b, const Canvas& c)
{
    return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, c.width() - 1),
            std::min(b.y1, c.height() - 1)};
}

} // namespace

Ellipse::Ellipse(Vec2 centre, double rx, double ry, double turn)
    : centre_(centre), rx_(rx), ry_(ry), cos_(std::cos(turn)), sin_(std::sin(turn))
{
}

Box Ellipse::bounds() const
{
    const double r = std::max(rx_, ry_) + 2;
    return {static_cast<int>(std::floor(centre_.x - r)),
            static_cast<int>(std::floor(centre_.y - r)), static_cast<int>(std::ceil(centre_.x + r)),
            static_cast<int>(std::ceil(centre_.y + r))};
}

Vec2 Ellipse::local(Vec2 p) const
{
    const double dx = p.x - centre_.x, dy = p.y - centre_.y;
    return {(dx * cos_ + dy * sin_) / rx_, (-dx * sin_ + dy * cos_) / ry_};
}

double Ellipse::distance(Vec2 p) const
{
    const Vec2 u = local(p);
    return (std::sqrt(u.x * u.x + u.y * u.y) - 1.0) * std::min(rx_, ry_);
}

Vec3 Ellipse::normal(Vec2 p) const
{
    const Vec2 u = local(p);
    // Back to screen directions so the light falls the same on turned shapes.
    return dome(u.x * cos_ - u.y * sin_, u.x * sin_ + u.y * cos_);
}

Capsule::Capsule(Vec2 a, Vec2 b, double ra, double rb) : a_(a), b_(b), ra_(ra), rb_(rb)
{
}

Box Capsule::bounds() const
{
    const double r = std::max(ra_, rb_) + 2;
    return {static_cast<int>(std::floor(std::min(a_.x, b_.x) - r)),
            static_cast<int>(std::floor(std::min(a_.y, b_.y) - r)),
            static_cast<int>(std::ceil(std::max(a_.x, b_.x) + r)),
            static_cast<int>(std::ceil(std::max(a_.y, b_.y) + r))};
}

double Capsule::along(Vec2 p) const
{
    const double dx = b_.x - a_.x, dy = b_.y - a_.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0.0)
        return 0.0;
    return std::clamp(((p.x - a_.x) * dx + (p.y - a_.y) * dy) / len2, 0.0, 1.0);
}

double Capsule::distance(Vec2 p) const
{
    const double t = along(p);
    const double cx = a_.x + (b_.x - a_.x) * t, cy = a_.y + (b_.y - a_.y) * t;
    return std::hypot(p.x - cx, p.y - cy) - (ra_ + (rb_ - ra_) * t);
}

Vec3 Capsule::normal(Vec2 p) const
{
    const double t = along(p);
    const double cx = a_.x + (b_.x - a_.x) * t, cy = a_.y + (b_.y - a_.y) * t;
    const double r = ra_ + (rb_ - ra_) * t;
    return dome((p.x - cx) / r, (p.y - cy) / r);
}

Polygon::Polygon(std::vector<Vec2> corners, double bevel)
    : corners_(std::move(corners)), bevel_(bevel)
{
}

Box Polygon::bounds() const
{
    Box b{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (const Vec2& c : corners_) {
        b.x0 = std::min(b.x0, static_cast<int>(std::floor(c.x)) - 1);
        b.y0 = std::min(b.y0, static_cast<int>(std::floor(c.y)) - 1);
        b.x1 = std::max(b.x1, static_cast<int>(std::ceil(c.x)) + 1);
        b.y1 = std::max(b.y1, static_cast<int>(std::ceil(c.y)) + 1);
    }
    return b;
}

bool Polygon::inside(Vec2 p) const
{
    bool in = false;
    for (std::size_t i = 0, j = corners_.size() - 1; i < corners_.size(); j = i++) {
        const Vec2 a = corners_[i], b = corners_[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

Vec2 Polygon::nearestEdgePoint(Vec2 p) const
{
    Vec2 best{};
    double bestD2 = 1e300;
    for (std::size_t i = 0, j = corners_.size() - 1; i < corners_.size(); j = i++) {
        const Vec2 a = corners_[j], b = corners_[i];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        const double t =
            len2 == 0.0 ? 0.0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
        const Vec2 q{a.x + dx * t, a.y + dy * t};
        const double d2 = (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y);
        if (d2 < bestD2) {
            bestD2 = d2;
            best = q;
        }
    }
    return best;
}

double Polygon::distance(Vec2 p) const
{
    const Vec2 q = nearestEdgePoint(p);
    const double d = std::hypot(p.x - q.x, p.y - q.y);
    return inside(p) ? -d : d;
}

Vec3 Polygon::normal(Vec2 p) const
{
    const Vec2 q = nearestEdgePoint(p);
    const double d = std::hypot(p.x - q.x, p.y - q.y);
    if (d >= bevel_ || d == 0.0)
        return {0, 0, 1};
    const double tilt = 0.8 * (1.0 - d / bevel_);
    return normalised({(q.x - p.x) / d * tilt, (q.y - p.y) / d * tilt, 1.0});
}

Paint paint(Rgb base, double lineWidth)
{
    Paint p;
    p.base = base;
    p.line = mix(scale(base, 0.28), Rgb{10, 5, 20}, 0.4);
    p.lineWidth = lineWidth;
    return p;
}

void draw(Canvas& canvas, const Shape& shape, const Paint& paint)
{
    static const Vec2 kSamples[4] = {
        {0.375, 0.125}, {0.875, 0.375}, {0.625, 0.875}, {0.125, 0.625}};
    const Box box = clipBox(shape.bounds(), canvas);
    for (int y = box.y0; y <= box.y1; ++y) {
        for (int x = box.x0; x <= box.x1; ++x) {
            int hits = 0;
            double r = 0, g = 0, b = 0;
            for (const Vec2& s : kSamples) {
                const Vec2 p{x + s.x, y + s.y};
                const double d = shape.distance(p);
                if (d > 0)
                    continue;
                const Rgb c = d > -paint.lineWidth ? paint.line : litColour(shape, paint, p);
                r += c.r;
                g += c.g;
                b += c.b;
                ++hits;
            }
            if (hits == 0)
                continue;
            canvas.blend(x, y,
                         rgb(static_cast<int>(r / hits), static_cast<int>(g / hits),
                             static_cast<int>(b / hits)),
                         hits / 4.0);
        }
    }
}

void outlineSilhouette(Canvas& canvas, Rgb colour)
{
    std::vector<std::pair<int, int>> rim;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!canvas.isClear(x, y))
                continue;
            const bool touches = (canvas.contains(x - 1, y) && !canvas.isClear(x - 1, y))
                                 || (canvas.contains(x + 1, y) && !canvas.isClear(x + 1, y))
                                 || (canvas.contains(x, y - 1) && !canvas.isClear(x, y - 1))
                                 || (canvas.contains(x, y + 1) && !canvas.isClear(x, y + 1));
            if (touches)
                rim.emplace_back(x, y);
        }
    }
    for (const auto& [x, y] : rim)
        canvas.set(x, y, colour);
}

Canvas mirrored(const Canvas& canvas)
{
    Canvas out(canvas.width(), canvas.height());
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (!canvas.isClear(x, y))
                out.set(canvas.width() - 1 - x, y, canvas.at(x, y));
    return out;
}

double hashNoise(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u
                      + static_cast<std::uint32_t>(y) * 668265263u
                      + static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

double valueNoise(double x, double y, int seed, int period)
{
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    auto cell = [&](int cx, int cy) {
        if (period > 0)
            cx = ((cx % period) + period) % period;
        return hashNoise(cx, cy, seed);
    };
    const double top = cell(x0, y0) + (cell(x0 + 1, y0) - cell(x0, y0)) * sx;
    const double bottom = cell(x0, y0 + 1) + (cell(x0 + 1, y0 + 1) - cell(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

} // namespace datagen
