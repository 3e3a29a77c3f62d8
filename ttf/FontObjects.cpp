#include "ttf/Text.hpp"
#include "ttf/TextFont.hpp"

#include <cstdlib>
#include <cstring>

FT_Library text_library = nullptr;
int text_started = 0;
int text_backdrop = 0;

namespace {

constexpr int kFirstScalableHeight = 8;
constexpr int kMaxSpacing = 4096;
// FreeType clamps larger pixel requests to this, so sizes past it can never
// measure differently.
constexpr long long kLargestPixelSize = 0xFFFF;

// Whole pixels of a 26.6 value, rounding towards minus infinity.
long long wholePixels(FT_Pos value)
{
    return static_cast<long long>(value >> 6);
}

// What the line box of pixel size n would measure: ascender plus descender,
// each cut to whole pixels before its sign is dropped.
long long measuredHeight(FT_Face face)
{
    const FT_Size_Metrics& metrics = face->size->metrics;
    return std::llabs(wholePixels(metrics.ascender)) + std::llabs(wholePixels(metrics.descender));
}

bool setPixelSize(FT_Face face, long long n)
{
    return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(n)) == 0;
}

// A growing search must end even on a face whose every size measures too
// little (a face with no ascender or descender grows forever otherwise).
long long searchLimit(int height)
{
    const long long grown = 4LL * height + 64;
    return grown < kLargestPixelSize ? grown : kLargestPixelSize;
}

// Walks pixel sizes one at a time from `height`, in the direction the first
// try shows. Returns the accepted size with the face set to it, or 0.
int searchPixelSize(FT_Face face, int height)
{
    const long long limit = searchLimit(height);
    long long n = height;
    int step = 0;
    while (n > 0 && n <= limit) {
        if (!setPixelSize(face, n))
            return 0;
        const long long measured = measuredHeight(face);
        if (measured == height)
            return static_cast<int>(n);
        if (step == 0) {
            step = measured < height ? +1 : -1;
        } else if (step > 0 && measured > height) {
            // The size before measured less than asked; settle for it.
            setPixelSize(face, n - 1);
            return static_cast<int>(n - 1);
        } else if (step < 0 && measured < height) {
            return static_cast<int>(n);
        }
        n += step;
    }
    return 0;
}

void readFixedSizes(TextFont* font)
{
    if (font->fixed_size_count < 0) {
        font->sizes[0] = -1;
        return;
    }
    for (int i = 0; i < font->fixed_size_count; ++i)
        font->sizes[i] = font->face->available_sizes[i].height;
    font->sizes[font->fixed_size_count] = -1;
}

void freeFont(TextFont* font)
{
    text_font_flush_cache(font);
    std::free(font->glyphs);
    font->glyphs = nullptr;
    if (font->face)
        FT_Done_Face(font->face);
    std::free(font->sizes);
    // The face read the copy until it was done with it.
    std::free(font->memory_copy);
    std::free(font);
}

// The load steps shared by file and memory: the cache, the size list and the
// first height. Frees the font and returns null when an allocation fails.
TextFont* finishLoad(TextFont* font)
{
    FT_Face face = font->face;
    const bool scalable = (face->face_flags & FT_FACE_FLAG_SCALABLE) != 0;
    font->fixed_size_count = scalable ? -1 : face->num_fixed_sizes;

    // At least one entry, so a face without glyphs still has an array to own.
    const size_t glyphCount = face->num_glyphs > 0 ? static_cast<size_t>(face->num_glyphs) : 1;
    font->glyphs = static_cast<GlyphCacheEntry*>(std::calloc(glyphCount, sizeof(GlyphCacheEntry)));
    const size_t sizeCount = scalable ? 1 : static_cast<size_t>(font->fixed_size_count) + 1;
    font->sizes = static_cast<int*>(std::calloc(sizeCount, sizeof(int)));
    if (!font->glyphs || !font->sizes) {
        freeFont(font);
        return nullptr;
    }
    readFixedSizes(font);

    // A face whose first height cannot be reached is still handed out, at
    // height 0; the caller may try other heights.
    text_font_set_height(font, scalable ? kFirstScalableHeight : font->sizes[0]);
    font->spacing = 0;
    return font;
}

} // namespace

int text_system_startup()
{
    if (text_started)
        return 0;
    text_library = nullptr;
    const FT_Error error = FT_Init_FreeType(&text_library);
    if (error == 0)
        text_started = 1;
    return error;
}

void text_system_shutdown()
{
    if (!text_started)
        return;
    text_started = 0;
    FT_Done_FreeType(text_library);
    text_library = nullptr;
}

TextFont* text_font_load(const char* path)
{
    auto* font = static_cast<TextFont*>(std::calloc(1, sizeof(TextFont)));
    if (!font)
        return nullptr;
    if (!path || FT_New_Face(text_library, path, 0, &font->face) != 0) {
        std::free(font);
        return nullptr;
    }
    return finishLoad(font);
}

TextFont* text_font_load_memory(const void* data, int size)
{
    if (!data || size <= 0)
        return nullptr;
    auto* font = static_cast<TextFont*>(std::calloc(1, sizeof(TextFont)));
    auto* copy = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (!font || !copy) {
        std::free(copy);
        std::free(font);
        return nullptr;
    }
    std::memcpy(copy, data, static_cast<size_t>(size));
    font->memory_copy = copy;
    font->memory_size = size;
    if (FT_New_Memory_Face(text_library, copy, size, 0, &font->face) != 0) {
        std::free(copy);
        std::free(font);
        return nullptr;
    }
    return finishLoad(font);
}

void text_font_destroy(TextFont* font)
{
    if (font)
        freeFont(font);
}

int text_font_set_height(TextFont* font, int height)
{
    if (!font)
        return -1;
    if (height == font->height)
        return 0;
    if (height <= 0)
        return -1;

    FT_Face face = font->face;
    const int chosen = searchPixelSize(face, height);
    if (chosen == 0) {
        setPixelSize(face, font->pixel_size);
        return -1;
    }
    text_font_flush_cache(font);
    font->pixel_size = chosen;
    font->height = height;
    // At an accepted size the ascender measures no more than the height, so
    // it fits an int.
    font->ascent = static_cast<int>(wholePixels(face->size->metrics.ascender));
    return 0;
}

int text_font_height(const TextFont* font)
{
    return font ? font->height : 0;
}

void text_font_set_spacing(TextFont* font, int pixels)
{
    if (!font)
        return;
    if (pixels < 0)
        pixels = 0;
    if (pixels > kMaxSpacing)
        pixels = kMaxSpacing;
    font->spacing = pixels;
}

int text_font_spacing(const TextFont* font)
{
    return font ? font->spacing : 0;
}

int text_set_backdrop(int colour)
{
    const int previous = text_backdrop;
    text_backdrop = colour;
    return previous;
}

int text_font_is_fixed(const TextFont* font)
{
    return font && font->fixed_size_count >= 0 ? -1 : 0;
}

int text_font_is_scalable(const TextFont* font)
{
    return font && font->fixed_size_count < 0 ? -1 : 0;
}

const int* text_font_fixed_sizes(TextFont* font)
{
    if (!font)
        return nullptr;
    readFixedSizes(font);
    return font->sizes;
}

int text_font_fixed_size_count(const TextFont* font)
{
    return font ? font->fixed_size_count : 0;
}

int text_line_height(const TextFont* font)
{
    return font ? font->height : 0;
}
