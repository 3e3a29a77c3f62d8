// Test-only: lets the key tests look at the X screen quickly enough to react
// to it on a loaded machine. It stays connected and answers one line for
// each command line it reads, so a look costs no program start:
//
//   look [X Y W H]
//               takes a picture of the root window, or of that rectangle of
//               it; answers "TIME CHANGED": the wall-clock time just after
//               it, in microseconds, and 1 when it differs from the picture
//               before (else 0)
//   box X Y W H RMIN GMIN BMIN RMAX GMAX BMAX
//               answers "x y w h n": the bounding box of the picture's pixels
//               within the rectangle whose colour lies in the range, and
//               their number; "none" when there is none (coordinates are
//               the screen's; pixels outside the picture count as none)
//   save FILE   writes the picture to FILE as a binary PPM; answers "ok"
//
// Anything that fails answers "error".
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Picture {
    int left = 0; // where on the screen the picture was taken
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // three bytes a pixel, rows top down
};

int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// Grabs the rectangle of the root window, or all of it when the rectangle is empty.
bool grabScreen(Display* display, const int rect[4], Picture& picture)
{
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes))
        return false;
    int x = 0, y = 0, w = attributes.width, h = attributes.height;
    if (rect[2] > 0 && rect[3] > 0) {
        x = std::max(rect[0], 0);
        y = std::max(rect[1], 0);
        w = std::min(rect[0] + rect[2], attributes.width) - x;
        h = std::min(rect[1] + rect[3], attributes.height) - y;
        if (w <= 0 || h <= 0)
            return false;
    }
    XImage* image = XGetImage(display, root, x, y, w, h, AllPlanes, ZPixmap);
    if (!image)
        return false;
    picture.left = x;
    picture.top = y;
    picture.width = image->width;
    picture.height = image->height;
    picture.rgb.resize(3u * image->width * image->height);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    const int shifts[3] = {shiftOf(masks[0]), shiftOf(masks[1]), shiftOf(masks[2])};
    unsigned char* out = picture.rgb.data();
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            for (int c = 0; c < 3; ++c)
                *out++ = static_cast<unsigned char>((pixel & masks[c]) >> shifts[c]);
        }
    XDestroyImage(image);
    return true;
}

bool writePicture(const Picture& picture, const std::string& path)
{
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
    const bool written =
        std::fwrite(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    // Renamed only when whole, so a reader never sees half a screen.
    return std::fclose(file) == 0 && written && std::rename(partial.c_str(), path.c_str()) == 0;
}

// The bounding box of the matching pixels of the rectangle, clipped to the
// picture, and their number; "none" when there is none.
std::string findBox(const Picture& picture, const int rect[4], const int low[3], const int high[3])
{
    int left = picture.width, top = picture.height, right = -1, bottom = -1, count = 0;
    const int x0 = std::max(rect[0] - picture.left, 0), y0 = std::max(rect[1] - picture.top, 0);
    const int x1 = std::min(rect[0] - picture.left + rect[2], picture.width);
    const int y1 = std::min(rect[1] - picture.top + rect[3], picture.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &picture.rgb[3u * (y * picture.width + x)];
            bool inside = true;
            for (int c = 0; c < 3; ++c)
                inside = inside && p[c] >= low[c] && p[c] <= high[c];
            if (!inside)
                continue;
            ++count;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    if (count == 0)
        return "none";
    std::ostringstream answer;
    answer << picture.left + left << ' ' << picture.top + top << ' ' << right - left + 1 << ' '
           << bottom - top + 1 << ' ' << count;
    return answer.str();
}

long long wallClockMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

std::string answer(Display* display, Picture& picture, const std::string& line)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "look") {
        int rect[4] = {0, 0, 0, 0};
        for (int& number : rect)
            words >> number;
        Picture previous = std::move(picture);
        if (!grabScreen(display, rect, picture))
            return "error";
        const bool changed = picture.rgb != previous.rgb;
        return std::to_string(wallClockMicroseconds()) + (changed ? " 1" : " 0");
    }
    if (command == "box") {
        int numbers[10];
        for (int& number : numbers)
            words >> number;
        return words && picture.width > 0 ? findBox(picture, numbers, numbers + 4, numbers + 7)
                                          : "error";
    }
    std::string path;
    if (command == "save" && words >> path)
        return picture.width > 0 && writePicture(picture, path) ? "ok" : "error";
    return "error";
}

} // namespace

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "screen_probe: cannot open the display\n");
        return 1;
    }
    Picture picture;
    std::string line;
    while (std::getline(std::cin, line))
        std::cout << answer(display, picture, line) << std::endl;
    XCloseDisplay(display);
    return 0;
}
