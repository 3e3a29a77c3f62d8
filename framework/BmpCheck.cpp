#include "BmpCheck.hpp"

#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kOs2HeaderSize = 12;
constexpr std::uint32_t kWindowsHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;
constexpr std::int64_t kLargestSide = 4096;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr long kLargestFile = 64L * 1024 * 1024;

std::uint32_t read16(const std::uint8_t* p)
{
    return p[0] | p[1] << 8;
}

std::uint32_t read32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
};

bool readLayout(const std::uint8_t* info, std::size_t available, Layout& layout)
{
    if (available < 4)
        return false;
    const std::uint32_t headerSize = read32(info);
    if (headerSize == kOs2HeaderSize && available >= kOs2HeaderSize) {
        layout = {read16(info + 4), read16(info + 6), read16(info + 10), kUncompressed};
        return true;
    }
    if (headerSize < kWindowsHeaderSize || headerSize > kLargestHeaderSize
        || available < headerSize)
        return false;
    layout.width = static_cast<std::int32_t>(read32(info + 4));
    // A negative height marks rows stored top-down, which the library's
    // reader mistakes for a height of about four billion rows.
    layout.height = static_cast<std::int32_t>(read32(info + 8));
    layout.bitsPerPixel = read16(info + 14);
    layout.compression = read32(info + 16);
    return true;
}

bool knownDepth(const Layout& layout)
{
    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        return layout.compression == kUncompressed;
    case 16:
    case 32:
        return layout.compression == kUncompressed || layout.compression == kBitFields;
    default:
        return false;
    }
}

} // namespace

bool isSafeBmp(const std::uint8_t* bytes, std::size_t size)
{
    if (size < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    Layout layout;
    if (!readLayout(bytes + kFileHeaderSize, size - kFileHeaderSize, layout) || !knownDepth(layout))
        return false;
    if (layout.width < 1 || layout.width > kLargestSide || layout.height < 1
        || layout.height > kLargestSide)
        return false;
    const std::int64_t rowBytes = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
    const std::int64_t pixelsStart = read32(bytes + 10);
    return pixelsStart >= 0
           && pixelsStart + rowBytes * layout.height <= static_cast<std::int64_t>(size);
}

bool isSafeBmp(const char* fileName)
{
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file)
        return false;
    std::vector<std::uint8_t> bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size <= kLargestFile && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<std::size_t>(size));
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        }
    }
    std::fclose(file);
    return isSafeBmp(bytes.data(), bytes.size());
}
