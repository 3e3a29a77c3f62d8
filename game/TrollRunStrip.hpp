#pragma once

struct BITMAP;

// A screen-wide bitmap that holds one line of text over the run's scene.
// It is cleared to one colour on creation (magenta, the mask colour, unless
// told otherwise) and freed when it goes out of scope. A strip that could
// not be allocated stays empty and copies nothing.
class TextStrip {
public:
    static constexpr int kWidth = 640;

    explicit TextStrip(int height);
    TextStrip(int height, int colour);
    ~TextStrip();
    TextStrip(const TextStrip&) = delete;
    TextStrip& operator=(const TextStrip&) = delete;

    BITMAP* bitmap() const { return bitmap_; }
    void clear(int colour);

    // Copies the strip into the back buffer leaving out magenta, opaque.
    void copyMasked(int x, int y) const;
    // Copies every pixel of it: for a strip with no magenta in it, the same
    // as the other two at full strength.
    void copyWhole(int x, int y) const;
    // Copies it blended at alpha (0 to 255), magenta left out.
    void copyBlended(int x, int y, int alpha) const;

private:
    BITMAP* bitmap_ = nullptr;
};

// Magenta, the transparent colour of every masked copy.
int maskColour();
