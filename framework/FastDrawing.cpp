#include "FastDrawing.hpp"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HAVE_GATHER 1
#endif

namespace {

using Pixel = std::uint32_t;
// Eight pixels at a time, as wide as the machine's vector unit allows.
using Pixels = Pixel __attribute__((vector_size(32)));
constexpr int kLanes = sizeof(Pixels) / sizeof(Pixel);

// Each pixel loop is built for AVX2 and for the plain instruction set, and
// the machine picks one when the program starts.
#if defined(__x86_64__) && defined(__GNUC__)
#define PIXEL_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define PIXEL_LOOP
#endif

Pixel* rowOf(BITMAP* bitmap, int y)
{
    return reinterpret_cast<Pixel*>(bitmap->line[y]);
}

bool isPlain32(BITMAP* bitmap)
{
    return bitmap_color_depth(bitmap) == 32 && is_memory_bitmap(bitmap);
}

// The bytes from the start of a bitmap's lowest row to the end of its
// highest. A sub-bitmap's rows lie inside its parent's block, so two
// bitmaps share pixels only where these overlap.
struct RowBytes {
    std::uintptr_t begin, end;
};

RowBytes rowBytesOf(BITMAP* bitmap)
{
    const auto first = reinterpret_cast<std::uintptr_t>(bitmap->line[0]);
    const auto last = reinterpret_cast<std::uintptr_t>(bitmap->line[bitmap->h - 1]);
    return {std::min(first, last), std::max(first, last) + bitmap->w * sizeof(Pixel)};
}

// Whether drawing from `a` onto `b` may read pixels it has just written:
// then the library, which orders overlapping copies, draws it. A few
// comparisons, whatever the size.
bool sharePixels(BITMAP* a, BITMAP* b)
{
    if (a == b)
        return true;
    if (a->w < 1 || a->h < 1 || b->w < 1 || b->h < 1)
        return false;
    const RowBytes ra = rowBytesOf(a), rb = rowBytesOf(b);
    return ra.begin < rb.end && rb.begin < ra.end;
}

// `over`'s pixels, and `under`'s where `over` holds the mask colour. Every
// lane is stored, so `under` may be `to` itself: a masked copy.
PIXEL_LOOP void mergeRow(const Pixel* over, const Pixel* under, Pixel* to, int width, Pixel mask)
{
    int x = 0;
    for (; x + kLanes <= width; x += kLanes) {
        Pixels c, u;
        std::memcpy(&c, over + x, sizeof c);
        std::memcpy(&u, under + x, sizeof u);
        const Pixels keep = (Pixels)(c == mask);
        c = (c & ~keep) | (u & keep);
        std::memcpy(to + x, &c, sizeof c);
    }
    for (; x < width; ++x)
        to[x] = over[x] != mask ? over[x] : under[x];
}

PIXEL_LOOP void fillRow(Pixel* row, int width, Pixel colour)
{
    const Pixels lanes = colour - Pixels{};
    int x = 0;
    for (; x + kLanes <= width; x += kLanes)
        std::memcpy(row + x, &lanes, sizeof lanes);
    for (; x < width; ++x)
        row[x] = colour;
}

// Pixels from one row of a sprite to the next, which the scanline drawers
// below rely on being the same for every row.
int pitchOf(BITMAP* sprite)
{
    return sprite->h > 1 ? static_cast<int>((sprite->line[1] - sprite->line[0]) / sizeof(Pixel))
                         : 0;
}

bool evenRows(BITMAP* sprite)
{
    const std::ptrdiff_t step = sprite->h > 1 ? sprite->line[1] - sprite->line[0] : 0;
    if (step % static_cast<std::ptrdiff_t>(sizeof(Pixel)) != 0)
        return false;
    for (int y = 2; y < sprite->h; ++y)
        if (sprite->line[y] - sprite->line[y - 1] != step)
            return false;
    return true;
}

// One scanline of a turned sprite as the library's own 32-bit drawer lays
// it: destination columns left to right, the sprite stepped by (du, dv) in
// 16.16 fixed point from (u, v), magenta left out.
void turnedScanline(BITMAP* target, BITMAP* sprite, fixed left, int y, fixed right, fixed u,
                    fixed v, fixed du, fixed dv)
{
    Pixel* row = rowOf(target, y);
    const Pixel* source = rowOf(sprite, 0);
    const int pitch = pitchOf(sprite);
    for (int x = left >> 16, end = right >> 16; x <= end; ++x, u += du, v += dv) {
        const Pixel c = source[(v >> 16) * pitch + (u >> 16)];
        if (c != MASK_COLOR_32)
            row[x] = c;
    }
}

#ifdef HAVE_GATHER
// The same, eight columns at a time, each lane fetching its own pixel.
__attribute__((target("avx2"))) void turnedScanlineGather(BITMAP* target, BITMAP* sprite,
                                                          fixed left, int y, fixed right, fixed u,
                                                          fixed v, fixed du, fixed dv)
{
    Pixel* row = rowOf(target, y);
    const int* source = reinterpret_cast<const int*>(sprite->line[0]);
    int x = left >> 16;
    const int end = right >> 16;
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i us =
        _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lane, _mm256_set1_epi32(du)));
    __m256i vs =
        _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lane, _mm256_set1_epi32(dv)));
    const __m256i stepU = _mm256_slli_epi32(_mm256_set1_epi32(du), 3);
    const __m256i stepV = _mm256_slli_epi32(_mm256_set1_epi32(dv), 3);
    const __m256i pitch = _mm256_set1_epi32(pitchOf(sprite));
    const __m256i mask = _mm256_set1_epi32(MASK_COLOR_32);
    for (; x + kLanes - 1 <= end; x += kLanes) {
        const __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vs, 16), pitch),
                                            _mm256_srai_epi32(us, 16));
        const __m256i c = _mm256_i32gather_epi32(source, at, sizeof(Pixel));
        auto* out = reinterpret_cast<__m256i*>(row + x);
        const __m256i old = _mm256_loadu_si256(out);
        _mm256_storeu_si256(out, _mm256_blendv_epi8(c, old, _mm256_cmpeq_epi32(c, mask)));
        us = _mm256_add_epi32(us, stepU);
        vs = _mm256_add_epi32(vs, stepV);
    }
    if (x <= end)
        turnedScanline(target, sprite, x << 16, y, right, _mm256_extract_epi32(us, 0),
                       _mm256_extract_epi32(vs, 0), du, dv);
}
#endif

// The library's trans blender for a black source pixel: with n = alpha + 1
// (0 for alpha 0) and k = 256 - n it gives red (r k + g) / 256, green
// g k / 256 and blue b k / 256, rounded down, since it scales red and blue
// packed in one word, whose green bits carry into red's rounding.
template <typename T>
inline void blendBlack(T& c, Pixel k)
{
    const T redBlue = ((c & 0xFF00FF) * k + ((c & 0xFF00) << 8)) >> 8;
    c = (redBlue & 0xFF00FF) | ((((c & 0xFF00) * k) >> 8) & 0xFF00);
}

PIXEL_LOOP void blendBlackRow(Pixel* row, int width, Pixel k)
{
    int x = 0;
    for (; x + kLanes <= width; x += kLanes) {
        Pixels c;
        std::memcpy(&c, row + x, sizeof c);
        blendBlack(c, k);
        std::memcpy(row + x, &c, sizeof c);
    }
    for (; x < width; ++x)
        blendBlack(row[x], k);
}

// The rectangle that blit and masked_blit draw after the library's own
// clipping, step by step; false when nothing is left.
bool clipBlit(BITMAP* from, BITMAP* to, int& fromX, int& fromY, int& toX, int& toY, int& width,
              int& height)
{
    if (fromX >= from->w || fromY >= from->h || toX >= to->cr || toY >= to->cb)
        return false;
    if (fromX < 0) {
        width += fromX;
        toX -= fromX;
        fromX = 0;
    }
    if (fromY < 0) {
        height += fromY;
        toY -= fromY;
        fromY = 0;
    }
    if (fromX + width > from->w)
        width = from->w - fromX;
    if (fromY + height > from->h)
        height = from->h - fromY;
    if (toX < to->cl) {
        width -= to->cl - toX;
        fromX += to->cl - toX;
        toX = to->cl;
    }
    if (toY < to->ct) {
        height -= to->ct - toY;
        fromY += to->ct - toY;
        toY = to->ct;
    }
    if (toX + width > to->cr)
        width = to->cr - toX;
    if (toY + height > to->cb)
        height = to->cb - toY;
    return width > 0 && height > 0;
}

} // namespace

void plainBlit(BITMAP* from, BITMAP* to, int fromX, int fromY, int toX, int toY, int width,
               int height)
{
    if (!isPlain32(from) || !isPlain32(to) || sharePixels(from, to)) {
        blit(from, to, fromX, fromY, toX, toY, width, height);
        return;
    }
    if (!clipBlit(from, to, fromX, fromY, toX, toY, width, height))
        return;
    for (int y = 0; y < height; ++y)
        std::memcpy(rowOf(to, toY + y) + toX, rowOf(from, fromY + y) + fromX,
                    width * sizeof(Pixel));
}

void maskedBlit(BITMAP* from, BITMAP* to, int fromX, int fromY, int toX, int toY, int width,
                int height)
{
    if (!isPlain32(from) || !isPlain32(to) || sharePixels(from, to)) {
        masked_blit(from, to, fromX, fromY, toX, toY, width, height);
        return;
    }
    if (!clipBlit(from, to, fromX, fromY, toX, toY, width, height))
        return;
    const Pixel mask = bitmap_mask_color(to);
    for (int y = 0; y < height; ++y) {
        Pixel* row = rowOf(to, toY + y) + toX;
        mergeRow(rowOf(from, fromY + y) + fromX, row, row, width, mask);
    }
}

void maskedBlitOver(BITMAP* over, int overX, int overY, BITMAP* under, int underX, int underY,
                    BITMAP* to, int toX, int toY, int width, int height)
{
    auto inside = [width, height](BITMAP* bitmap, int x, int y) {
        return x >= 0 && y >= 0 && x + width <= bitmap->w && y + height <= bitmap->h;
    };
    const bool plain = isPlain32(over) && isPlain32(under) && isPlain32(to)
                       && !sharePixels(over, to) && !sharePixels(under, to);
    if (!plain || !inside(over, overX, overY) || !inside(under, underX, underY) || toX < to->cl
        || toY < to->ct || toX + width > to->cr || toY + height > to->cb) {
        blit(under, to, underX, underY, toX, toY, width, height);
        masked_blit(over, to, overX, overY, toX, toY, width, height);
        return;
    }
    const Pixel mask = bitmap_mask_color(to);
    for (int y = 0; y < height; ++y)
        mergeRow(rowOf(over, overY + y) + overX, rowOf(under, underY + y) + underX,
                 rowOf(to, toY + y) + toX, width, mask);
}

void clearRow(BITMAP* bitmap, int y, int colour)
{
    if (!isPlain32(bitmap)) {
        hline(bitmap, bitmap->cl, y, bitmap->cr - 1, colour);
        return;
    }
    if (y >= bitmap->ct && y < bitmap->cb)
        fillRow(rowOf(bitmap, y) + bitmap->cl, bitmap->cr - bitmap->cl, colour);
}

void clearBitmap(BITMAP* bitmap, int colour)
{
    if (!isPlain32(bitmap)) {
        clear_to_color(bitmap, colour);
        return;
    }
    for (int y = bitmap->ct; y < bitmap->cb; ++y)
        fillRow(rowOf(bitmap, y) + bitmap->cl, bitmap->cr - bitmap->cl, colour);
}

void pivotSprite(BITMAP* target, BITMAP* sprite, int x, int y, int pivotX, int pivotY, int angle)
{
    if (!isPlain32(target) || !isPlain32(sprite) || sharePixels(sprite, target)
        || !evenRows(sprite)) {
        target->vtable->pivot_scaled_sprite_flip(target, sprite, x, y, pivotX, pivotY, angle,
                                                 itofix(1), FALSE);
        return;
    }
    // The library's own corners and edge walk, with a faster scanline drawer.
    fixed xs[4], ys[4];
    _rotate_scale_flip_coordinates(itofix(sprite->w), itofix(sprite->h), x, y, pivotX, pivotY,
                                   angle, itofix(1), itofix(1), FALSE, FALSE, xs, ys);
#ifdef HAVE_GATHER
    static const bool gather = __builtin_cpu_supports("avx2");
    _parallelogram_map(target, sprite, xs, ys, gather ? turnedScanlineGather : turnedScanline,
                       FALSE);
#else
    _parallelogram_map(target, sprite, xs, ys, turnedScanline, FALSE);
#endif
}

void blendBlackOver(BITMAP* target, int alpha)
{
    set_trans_blender(255, 255, 255, alpha);
    if (!isPlain32(target)) {
        BITMAP* black = create_bitmap_ex(bitmap_color_depth(target), target->w, target->h);
        if (!black)
            return;
        clear_to_color(black, 0);
        draw_trans_sprite(target, black, 0, 0);
        destroy_bitmap(black);
        return;
    }
    const Pixel k = alpha > 0 ? 255 - alpha : 256;
    const bool clip = target->clip;
    const int left = clip ? target->cl : 0, right = clip ? target->cr : target->w;
    const int top = clip ? target->ct : 0, bottom = clip ? target->cb : target->h;
    for (int y = top; y < bottom; ++y)
        blendBlackRow(rowOf(target, y) + left, right - left, k);
}
