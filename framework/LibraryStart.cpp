#include "LibraryStart.hpp"

#include <X11/Xlib.h>
#include <allegro.h>

#include <cstdlib>

namespace {

// Bytes the library reserves for one UTF-8 character, as its own table of
// text formats gives it.
constexpr int kLibraryUtf8WidthMax = 4;

// Bytes of the library's UTF-8 form of a character: one for anything below
// 0x80 (negative values too), then one more for every five bits more, up to
// six bytes for 31 bits, where the library's own count never stops.
int utf8Size(int c)
{
    constexpr int kLimits[] = {0x80, 0x800, 0x10000, 0x200000, 0x4000000};
    int size = 1;
    for (int limit : kLimits) {
        if (c < limit)
            return size;
        ++size;
    }
    return size;
}

// The character's bytes: the lead byte marks the size with as many high
// bits set, then the value six bits to a byte, highest first.
int writeUtf8(char* s, int c)
{
    const int size = utf8Size(c);
    if (size == 1) {
        *s = static_cast<char>(c);
        return 1;
    }
    int shift = 6 * (size - 1);
    s[0] = static_cast<char>((0xff00 >> size) | (c >> shift));
    for (int i = 1; i < size; ++i) {
        shift -= 6;
        s[i] = static_cast<char>(0x80 | ((c >> shift) & 0x3f));
    }
    return size;
}

} // namespace

void keepLibraryTextFinite()
{
    // The library reads UTF-8 from the start: its reading routines are kept,
    // only the two that size a character for writing are ours.
    register_uformat(U_UTF8, ugetc, ugetx, writeUtf8, uwidth, utf8Size, uisok,
                     kLibraryUtf8WidthMax);
    set_uformat(U_UTF8);
}

bool displayReachable()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    Display* display = XOpenDisplay(name);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

std::string libraryStartFailure(const char* libraryError, bool displayThere)
{
    std::string message = "grimbledom: could not start the graphics library";
    if (!displayThere)
        message += ": no display to open a window on";
    else if (libraryError && *libraryError)
        message += std::string(": ") + libraryError;
    return message;
}
