#include "Art.hpp"
#include "Shapes.hpp"

#include <array>
#include <cmath>
#include <string_view>

namespace datagen {

namespace {

using Glyph = std::array<std::string_view, 7>;

Glyph glyph(char letter)
{
    switch (letter) {
    case 'G':
        return {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."};
    case 'R':
        return {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
    case 'I':
        return {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"};
    case 'M':
        return {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"};
    case 'B':
        return {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."};
    case 'L':
        return {"#...", "#...", "#...", "#...", "#...", "#...", "####"};
    case 'E':
        return {"####", "#...", "#...", "###.", "#...", "#...", "####"};
    case 'D':
        return {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
    case 'O':
        return {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    default:
        return {};
    }
}

constexpr int kCellW = 10, kCellH = 12, kGap = 12, kDepth = 7, kSwell = 4;
constexpr int kWidth = 600, kHeight = 130;

// Which pixels the word covers: letters built from square cells, swollen by
// a round margin so strokes are fat and corners soft, and set alternately a
// little high and low so the word bounces.
std::vector<bool> wordMask(std::string_view word)
{
    int total = -kGap;
    for (char ch : word)
        total += static_cast<int>(glyph(ch)[0].size()) * kCellW + kGap;
    std::vector<bool> cells(kWidth * kHeight, false);
    int left = (kWidth - total - kDepth) / 2;
    int bounce = -3;
    for (char ch : word) {
        const Glyph g = glyph(ch);
        const int top = 22 + bounce;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < static_cast<int>(g[row].size()); ++col)
                if (g[row][col] == '#')
                    for (int y = 0; y < kCellH; ++y)
                        for (int x = 0; x < kCellW; ++x)
                            cells[(top + row * kCellH + y) * kWidth + left + col * kCellW + x] =
                                true;
        left += static_cast<int>(g[0].size()) * kCellW + kGap;
        bounce = -bounce;
    }
    std::vector<bool> mask(kWidth * kHeight, false);
    for (int y = kSwell; y < kHeight - kSwell; ++y)
        for (int x = kSwell; x < kWidth - kSwell; ++x)
            for (int dy = -kSwell; dy <= kSwell && !mask[y * kWidth + x]; ++dy)
                for (int dx = -kSwell; dx <= kSwell; ++dx)
                    if (dx * dx + dy * dy <= kSwell * kSwell + 1
                        && cells[(y + dy) * kWidth + x + dx]) {
                        mask[y * kWidth + x] = true;
                        break;
                    }
    return mask;
}

} // namespace

Picture logoPicture()
{
    Canvas c(kWidth, kHeight, Rgb{0, 0, 0});
    const std::vector<bool> mask = wordMask("GRIMBLEDOM");
    auto covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kWidth && y < kHeight && mask[y * kWidth + x];
    };
    // A block shadow falling down and right gives the letters their depth.
    for (int d = kDepth; d >= 1; --d)
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (covered(x - d, y - d))
                    c.set(x, y,
                          mix(Rgb{30, 80, 20}, Rgb{10, 30, 8}, d / static_cast<double>(kDepth)));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (!covered(x, y))
                continue;
            const double t = (y - 16) / (7.0 * kCellH + 10);
            Rgb face = t < 0.5 ? mix(Rgb{255, 240, 120}, Rgb{250, 160, 30}, t * 2)
                               : mix(Rgb{250, 160, 30}, Rgb{210, 50, 20}, t * 2 - 1);
            if (!covered(x, y - 2) || !covered(x - 2, y))
                face = mix(face, Rgb{255, 255, 255}, 0.55);
            else if (!covered(x, y + 2) || !covered(x + 2, y))
                face = scale(face, 0.7);
            if (!covered(x, y - 1) || !covered(x - 1, y) || !covered(x, y + 1)
                || !covered(x + 1, y))
                face = Rgb{60, 20, 10};
            c.set(x, y, face);
        }
    return {"logo.bmp", c, false};
}

} // namespace datagen
