#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// Mono samples in -1..1 at the given rate as an MP3 file, with the header
// frame that tells players the exact length, so no padding is heard.
std::vector<std::uint8_t> encodeMp3(const std::vector<float>& samples, int rate);

} // namespace datagen
