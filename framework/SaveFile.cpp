#include "SaveFile.hpp"

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

bool fumboAttackUnlock = false;
bool spinAttackUnlock = false;

namespace {

// The stream's own numeric bool: blanks skipped, then 0 or 1. Any other
// number would be stored as true with the stream failed, so the flag is
// only taken from a read that succeeded.
void readFlag(std::istream& in, bool& flag)
{
    bool value = false;
    if (in >> value)
        flag = value;
}

bool writeAll(std::FILE* file, const char* bytes, std::size_t count)
{
    return std::fwrite(bytes, 1, count, file) == count && std::fflush(file) == 0
           && fsync(fileno(file)) == 0;
}

} // namespace

void loadProgress(const char* fileName)
{
    fumboAttackUnlock = false;
    spinAttackUnlock = false;
    std::ifstream in(fileName);
    if (!in)
        return;
    readFlag(in, fumboAttackUnlock);
    readFlag(in, spinAttackUnlock);
}

void saveProgress(const char* fileName)
{
    const std::string temporary = std::string(fileName) + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return;
    const char bytes[3] = {fumboAttackUnlock ? '1' : '0', ' ', spinAttackUnlock ? '1' : '0'};
    bool written = writeAll(file, bytes, sizeof bytes);
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), fileName) != 0)
        std::remove(temporary.c_str());
}

void setUnlocks(bool first, bool second)
{
    fumboAttackUnlock = first;
    spinAttackUnlock = second;
}

bool fumboAttackUnlocked()
{
    return fumboAttackUnlock;
}

bool spinAttackUnlocked()
{
    return spinAttackUnlock;
}
