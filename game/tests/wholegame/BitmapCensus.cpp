#include "BitmapCensus.hpp"

#include <allegro.h>
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

struct Records {
    std::mutex lock;
    std::map<BITMAP*, std::string> live; // bitmap and the file it came from
    std::size_t made = 0;
    std::size_t strayDestroys = 0;
};

Records& records()
{
    static Records* r = new Records; // outlives every static destructor
    return *r;
}

// The library's own definition of one of the functions below.
template <typename Function>
Function* real(Function*, const char* name)
{
    void* found = dlsym(RTLD_NEXT, name);
    if (!found)
        std::abort();
    return reinterpret_cast<Function*>(found);
}

BITMAP* noteMade(BITMAP* bitmap)
{
    if (!bitmap)
        return bitmap;
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    // create_bitmap may itself call create_bitmap_ex: one bitmap, one entry.
    if (r.live.emplace(bitmap, std::string()).second)
        ++r.made;
    return bitmap;
}

} // namespace

extern "C" {

BITMAP* create_bitmap(int width, int height)
{
    static auto* next = real(&create_bitmap, "create_bitmap");
    return noteMade(next(width, height));
}

BITMAP* create_bitmap_ex(int depth, int width, int height)
{
    static auto* next = real(&create_bitmap_ex, "create_bitmap_ex");
    return noteMade(next(depth, width, height));
}

BITMAP* create_sub_bitmap(BITMAP* parent, int x, int y, int width, int height)
{
    static auto* next = real(&create_sub_bitmap, "create_sub_bitmap");
    return noteMade(next(parent, x, y, width, height));
}

BITMAP* create_system_bitmap(int width, int height)
{
    static auto* next = real(&create_system_bitmap, "create_system_bitmap");
    return noteMade(next(width, height));
}

BITMAP* create_video_bitmap(int width, int height)
{
    static auto* next = real(&create_video_bitmap, "create_video_bitmap");
    return noteMade(next(width, height));
}

BITMAP* load_bitmap(AL_CONST char* fileName, RGB* palette)
{
    static auto* next = real(&load_bitmap, "load_bitmap");
    BITMAP* bitmap = noteMade(next(fileName, palette));
    if (bitmap) {
        Records& r = records();
        std::lock_guard<std::mutex> guard(r.lock);
        r.live[bitmap] = std::filesystem::path(fileName).filename().string();
    }
    return bitmap;
}

void destroy_bitmap(BITMAP* bitmap)
{
    static auto* next = real(&destroy_bitmap, "destroy_bitmap");
    if (bitmap) {
        Records& r = records();
        std::lock_guard<std::mutex> guard(r.lock);
        if (r.live.erase(bitmap) == 0)
            ++r.strayDestroys;
    }
    next(bitmap);
}

} // extern "C"

namespace census {

std::vector<LiveBitmap> live()
{
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    std::vector<LiveBitmap> all;
    for (const auto& [bitmap, fileName] : r.live)
        all.push_back({bitmap, fileName, bitmap->w, bitmap->h});
    return all;
}

std::size_t liveCount()
{
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.live.size();
}

std::size_t madeCount()
{
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.made;
}

bool isLoaded(const std::string& fileName)
{
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const auto& entry : r.live)
        if (entry.second == fileName)
            return true;
    return false;
}

std::size_t strayDestroys()
{
    Records& r = records();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.strayDestroys;
}

} // namespace census
