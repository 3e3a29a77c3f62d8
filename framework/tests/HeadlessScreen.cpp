#include "HeadlessScreen.hpp"

#include "framework/Buttons.hpp"
#include "framework/FrameClock.hpp"
#include "framework/Graphics.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void startAllegroOnce()
{
    static const bool started = [] {
        if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
            throw std::runtime_error("Allegro did not start without a display");
        set_color_depth(32);
        set_color_conversion(COLORCONV_8_TO_32 | COLORCONV_15_TO_32 | COLORCONV_16_TO_32
                             | COLORCONV_24_TO_32);
        return true;
    }();
    (void)started;
}

} // namespace

HeadlessScreen::HeadlessScreen()
{
    startAllegroOnce();
    backBuffer = create_bitmap(640, 480);
    clear_to_color(backBuffer, makecol(0, 0, 0));
    releaseAll();
    millisecondTicks = 0;
    previousFrameMs = 0;
    currentFrameMs = 0;
}

HeadlessScreen::~HeadlessScreen()
{
    setFramePresenter(nullptr);
    releaseAll();
    destroy_bitmap(backBuffer);
    backBuffer = nullptr;
}

void HeadlessScreen::script(Step step, int frameLimit)
{
    framesShown_ = 0;
    setFramePresenter([this, step, frameLimit](BITMAP* picture) {
        if (framesShown_ >= frameLimit)
            throw FrameLimitReached();
        const FrameInput input = step(framesShown_++, picture);
        holdKeys(input.keys);
        millisecondTicks += input.milliseconds;
    });
}

void HeadlessScreen::script(std::vector<FrameInput> frames, int frameLimit)
{
    script(
        [frames](int frame, BITMAP*) {
            return frame < static_cast<int>(frames.size()) ? frames[frame] : FrameInput{};
        },
        frameLimit);
}

void HeadlessScreen::holdKeys(const std::vector<int>& keys)
{
    for (int code = 0; code < KEY_MAX; ++code)
        key[code] = 0;
    for (int code : keys)
        key[code] = 1;
}

void HeadlessScreen::releaseAll()
{
    holdKeys({});
    clearKeys();
}

void HeadlessScreen::startWithKeys(const std::vector<int>& keys)
{
    holdKeys(keys);
    pollGameKeys();
}

HeadlessScreen::Rgb HeadlessScreen::pixel(BITMAP* picture, int x, int y)
{
    const int c = getpixel(picture, x, y);
    return {getr32(c), getg32(c), getb32(c)};
}

std::string firstDifference(BITMAP* a, BITMAP* b)
{
    const std::size_t rowBytes = static_cast<std::size_t>(a->w) * sizeof(std::uint32_t);
    for (int y = 0; y < a->h; ++y) {
        if (std::memcmp(a->line[y], b->line[y], rowBytes) == 0)
            continue;
        const auto* rowA = reinterpret_cast<const std::uint32_t*>(a->line[y]);
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(b->line[y]);
        int x = 0;
        while (rowA[x] == rowB[x])
            ++x;
        return "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
    return "";
}
