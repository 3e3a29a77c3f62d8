#pragma once

struct BITMAP;

// An owning handle of one picture, loaded from a BMP file into the screen's
// colour depth and drawn into the back buffer. Empty (width and height 0)
// until loaded, or when the file could not be read.
class Image {
public:
    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Replaces the picture with the named file's; a file that cannot be read,
    // or is damaged, leaves the Image empty.
    void load(const char* fileName);
    // Frees the picture; safe on an empty Image.
    void destroy();

    // Plain copy with the top left corner at (x, y).
    void draw(int x, int y) const;
    // Copy that leaves out magenta pixels.
    void drawMasked(int x, int y) const;
    // Masked copy turned clockwise by angle (256 to a full turn) about the
    // picture's centre; (x, y) is where the unturned top left corner goes.
    void drawRotated(int x, int y, double angle) const;

    int width() const;
    int height() const;
    BITMAP* bitmap() const { return bitmap_; }

private:
    BITMAP* bitmap_ = nullptr;
};

// lo <= v <= hi.
bool inRange(int lo, int hi, int v);

// Whether a corner of box A lies in box B, or A crosses B (strictly inside
// it vertically, strictly spanning it horizontally). One-sided: B's corners
// in A are not seen.
bool rectsOverlap(int ax1, int ax2, int ay1, int ay2, int bx1, int bx2, int by1, int by2);

// Whether A placed at (ax, ay) and B placed at (bx, by) overlap. Each box is
// the image's width and height plus one, so images that touch collide.
bool imagesCollide(const Image& a, int ax, int ay, const Image& b, int bx, int by);
