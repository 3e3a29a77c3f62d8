#pragma once

#include <cstddef>
#include <cstdint>

// Whether a file looks like a BMP that the graphics library can read without
// running past its data: a known header, a sane size, rows stored bottom-up,
// uncompressed (or bit-field) pixels, and every pixel row present in the
// file. The library's own reader trusts the header and crashes on damaged
// files.
bool isSafeBmp(const char* fileName);

// The same test on the bytes of a whole file.
bool isSafeBmp(const std::uint8_t* bytes, std::size_t size);
