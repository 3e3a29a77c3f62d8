#include "SaveFile.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

// Creates a file of this process's own beside fileName and names it in
// temporary; -1 when none can be made. The name holds the process id, so no
// two running games share one; O_EXCL rather than mkstemp, so that the file
// gets the permissions a plain fopen would give (umask, default ACLs), and a
// leftover of a game killed earlier is never written into.
int createTemporary(const std::string& fileName, std::string& temporary)
{
    constexpr int kAttempts = 100;
    constexpr mode_t kPlainFileMode = 0666;
    const std::string stem = fileName + "." + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = stem + std::to_string(attempt);
        const int fd =
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPlainFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// All bytes written and on the disk before the file may replace the old one.
bool writeAll(int fd, const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = write(fd, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return fsync(fd) == 0;
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
    std::string temporary;
    const int fd = createTemporary(fileName, temporary);
    if (fd < 0)
        return;
    const char bytes[3] = {fumboAttackUnlock ? '1' : '0', ' ', spinAttackUnlock ? '1' : '0'};
    bool written = writeAll(fd, bytes, sizeof bytes);
    written = close(fd) == 0 && written;
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
