#include "Image.hpp"

#include "BmpCheck.hpp"
#include "FastDrawing.hpp"
#include "Graphics.hpp"

#include <allegro.h>

namespace {

// Whether a picture turned about its centre may reach the back buffer when
// its unturned top left corner is at (x, y): turned, it stays within half
// its diagonal, less than width plus height, of the centre.
bool mayReachBackBuffer(int x, int y, int width, int height)
{
    const long long reach = static_cast<long long>(width) + height;
    const long long centreX = static_cast<long long>(x) + width / 2;
    const long long centreY = static_cast<long long>(y) + height / 2;
    return centreX + reach >= 0 && centreX - reach < backBuffer->w && centreY + reach >= 0
           && centreY - reach < backBuffer->h;
}

} // namespace

Image::~Image()
{
    destroy();
}

void Image::load(const char* fileName)
{
    destroy();
    if (isSafeBmp(fileName))
        bitmap_ = load_bitmap(fileName, nullptr);
}

void Image::destroy()
{
    if (!bitmap_)
        return;
    destroy_bitmap(bitmap_);
    bitmap_ = nullptr;
}

void Image::draw(int x, int y) const
{
    if (bitmap_)
        plainBlit(bitmap_, backBuffer, 0, 0, x, y, bitmap_->w, bitmap_->h);
}

void Image::drawMasked(int x, int y) const
{
    if (bitmap_)
        maskedBlit(bitmap_, backBuffer, 0, 0, x, y, bitmap_->w, bitmap_->h);
}

void Image::drawRotated(int x, int y, double angle) const
{
    // Far off the screen the library's fixed-point position would overflow;
    // it would have drawn nothing there.
    if (!bitmap_ || !mayReachBackBuffer(x, y, bitmap_->w, bitmap_->h))
        return;
    // rotate_sprite itself, but with the position scaled by multiplying:
    // its inline version shifts x and y left, which is undefined for the
    // negative positions of actors walking in from the left.
    constexpr fixed kOne = 0x10000;
    const fixed centreX = x * kOne + bitmap_->w * kOne / 2;
    const fixed centreY = y * kOne + bitmap_->h * kOne / 2;
    pivotSprite(backBuffer, bitmap_, centreX, centreY, bitmap_->w * kOne / 2, bitmap_->h * kOne / 2,
                ftofix(angle));
}

int Image::width() const
{
    return bitmap_ ? bitmap_->w : 0;
}

int Image::height() const
{
    return bitmap_ ? bitmap_->h : 0;
}

bool inRange(int lo, int hi, int v)
{
    return v >= lo && v <= hi;
}

bool rectsOverlap(int ax1, int ax2, int ay1, int ay2, int bx1, int bx2, int by1, int by2)
{
    const bool topInside = inRange(by1, by2, ay1);
    const bool bottomInside = inRange(by1, by2, ay2);
    const bool leftInside = inRange(bx1, bx2, ax1);
    const bool rightInside = inRange(bx1, bx2, ax2);
    if ((topInside || bottomInside) && (leftInside || rightInside))
        return true;
    return ay1 > by1 && ay2 < by2 && ax1 < bx1 && ax2 > bx2;
}

bool imagesCollide(const Image& a, int ax, int ay, const Image& b, int bx, int by)
{
    const int ax2 = ax + a.width(), ay2 = ay + a.height();
    const int bx2 = bx + b.width(), by2 = by + b.height();
    return rectsOverlap(ax, ax2, ay, ay2, bx, bx2, by, by2)
           || rectsOverlap(bx, bx2, by, by2, ax, ax2, ay, ay2);
}
