#pragma once

// TrueType text renderer: one FreeType library for the program, fonts handed
// out as opaque handles, and text drawn into any Allegro bitmap.
//
// Terms used below:
// - height: the pixel height a font was set to, the height of its line box.
// - ascent: whole pixels from the top of a line to its baseline.
// - line box: the rectangle (x, y) to (x + text_width - 1, y + height - 1);
//   every drawing call takes (x, y) as the top of the line, never the
//   baseline.
// - colour, background: pixel values as makecol makes them for the
//   destination's depth. A negative background means "no box".
// - text: zero-ended UTF-8, read with Allegro's ugetxc.
//
// A null font, text or format measures 0 and draws nothing, so a font file
// that failed to load leaves a screen without text instead of crashing it.

struct BITMAP;
struct TextFont;

// Starts the renderer once; later calls do nothing until it is stopped.
// Returns 0, or FreeType's error code (the renderer then stays stopped).
int text_system_startup();
// Stops a started renderer; does nothing otherwise. Every font must have been
// destroyed first: the library owns their faces.
void text_system_shutdown();

// Opens face 0 of a font file and sets it to its first height (8 pixels for a
// scalable face, its first fixed size otherwise). Returns a new handle, or
// null when the file cannot be opened; free it with text_font_destroy.
TextFont* text_font_load(const char* path);
// As text_font_load, from `size` bytes at `data`. The bytes are copied, so the
// caller may free its buffer as soon as this returns.
TextFont* text_font_load_memory(const void* data, int size);
// Frees a font and everything it owns. Null is allowed.
void text_font_destroy(TextFont* font);

// Chooses the FreeType pixel size whose whole-pixel ascender plus descender
// is `height` (or the nearest below it). Returns 0 when set (or already at
// that height), -1 when refused; a refusal leaves the font as it was.
// A change empties the glyph cache.
int text_font_set_height(TextFont* font, int height);
// The height last set with success, in pixels; 0 before any.
int text_font_height(const TextFont* font);
// Extra pixels after every character that advances the pen, clamped to
// 0..4096.
void text_font_set_spacing(TextFont* font, int pixels);
int text_font_spacing(const TextFont* font);

// Sets the background used by the drawing calls without a background
// argument (0, opaque black, at start). Returns the previous one.
int text_set_backdrop(int colour);

// -1 (all bits set) when the face has no outlines, only fixed sizes; else 0.
int text_font_is_fixed(const TextFont* font);
// -1 when the face is scalable; else 0.
int text_font_is_scalable(const TextFont* font);
// The pixel heights of the face's fixed sizes, ending with -1 (only -1 for a
// scalable face). The font owns the list; it stays valid until the font is
// destroyed.
const int* text_font_fixed_sizes(TextFont* font);
// -1 for a scalable face, else the number of fixed sizes.
int text_font_fixed_size_count(const TextFont* font);

// Width in pixels of the text's line box: every advancing character's
// advance plus the spacing.
int text_width(TextFont* font, const char* text);
// The font's height in pixels, the height of its line box.
int text_line_height(const TextFont* font);

// The drawing calls: draw_text (a string) or draw_textf (printf-style, cut to
// the whole characters that fit in 511 bytes), then _smooth (anti-aliased) or
// _sharp (one colour), then _centred (x is the middle of the line box),
// _right (x is one past its right end) or nothing (x is its left end), then
// _bg when a background argument follows the colour. The calls without _bg
// use the backdrop of text_set_backdrop. Nothing is kept after a call.

#if defined(__GNUC__)
#define TEXT_PRINTF_FORMAT(format_index)                                                           \
    __attribute__((format(printf, format_index, format_index + 1)))
#else
#define TEXT_PRINTF_FORMAT(format_index)
#endif

void draw_text_smooth_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour,
                         int background);
void draw_text_smooth(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour);
void draw_text_sharp_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour,
                        int background);
void draw_text_sharp(BITMAP* bitmap, TextFont* font, const char* text, int x, int y, int colour);

void draw_text_smooth_centred_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                                 int colour, int background);
void draw_text_smooth_centred(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                              int colour);
void draw_text_sharp_centred_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                                int colour, int background);
void draw_text_sharp_centred(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                             int colour);
void draw_text_smooth_right_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                               int colour, int background);
void draw_text_smooth_right(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                            int colour);
void draw_text_sharp_right_bg(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                              int colour, int background);
void draw_text_sharp_right(BITMAP* bitmap, TextFont* font, const char* text, int x, int y,
                           int colour);

void draw_textf_sharp(BITMAP* bitmap, TextFont* font, int x, int y, int colour, const char* format,
                      ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_sharp_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour, int background,
                         const char* format, ...) TEXT_PRINTF_FORMAT(7);
void draw_textf_smooth(BITMAP* bitmap, TextFont* font, int x, int y, int colour, const char* format,
                       ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_smooth_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour, int background,
                          const char* format, ...) TEXT_PRINTF_FORMAT(7);
void draw_textf_sharp_centred(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                              const char* format, ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_sharp_centred_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                 int background, const char* format, ...) TEXT_PRINTF_FORMAT(7);
void draw_textf_smooth_centred(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                               const char* format, ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_smooth_centred_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                  int background, const char* format, ...) TEXT_PRINTF_FORMAT(7);
void draw_textf_sharp_right(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                            const char* format, ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_sharp_right_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                               int background, const char* format, ...) TEXT_PRINTF_FORMAT(7);
void draw_textf_smooth_right(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                             const char* format, ...) TEXT_PRINTF_FORMAT(6);
void draw_textf_smooth_right_bg(BITMAP* bitmap, TextFont* font, int x, int y, int colour,
                                int background, const char* format, ...) TEXT_PRINTF_FORMAT(7);

#undef TEXT_PRINTF_FORMAT
