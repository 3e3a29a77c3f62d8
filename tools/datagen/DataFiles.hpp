#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct DataFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Every picture, sound effect and the music, as the files the game reads.
std::vector<DataFile> allDataFiles();

// Writes every data file into folder; false when one cannot be written.
bool writeDataFiles(const std::string& folder);

} // namespace datagen
