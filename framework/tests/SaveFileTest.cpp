#include "framework/SaveFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class SaveFile : public ::testing::Test {
protected:
    void SetUp() override { std::remove(path_.c_str()); }
    void TearDown() override { std::remove(path_.c_str()); }

    void write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string read() const
    {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::pair<bool, bool> load(const std::string& bytes)
    {
        write(bytes);
        setUnlocks(true, true);
        loadProgress(path_.c_str());
        return {fumboAttackUnlocked(), spinAttackUnlocked()};
    }

    // Tests run in parallel processes: each has a file of its own.
    const std::string path_ = ::testing::TempDir() + "save-" + std::to_string(getpid()) + "-"
                              + ::testing::UnitTest::GetInstance()->current_test_info()->name()
                              + ".dat";
};

using Flags = std::pair<bool, bool>;

// Every name in the folder of savePath that begins with its file name and a
// dot: the temporary files a save may have left beside it.
std::vector<std::string> leftoversBeside(const std::string& savePath)
{
    const std::filesystem::path path(savePath);
    const std::string prefix = path.filename().string() + ".";
    std::vector<std::string> leftovers;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            leftovers.push_back(name);
    }
    return leftovers;
}

bool isWrittenForm(const std::string& bytes)
{
    static const std::string kForms[] = {"0 0", "1 0", "0 1", "1 1"};
    return std::find(std::begin(kForms), std::end(kForms), bytes) != std::end(kForms);
}

} // namespace

TEST_F(SaveFile, MissingFileLocksBothAndCreatesNothing)
{
    setUnlocks(true, true);
    loadProgress(path_.c_str());
    EXPECT_EQ((Flags{fumboAttackUnlocked(), spinAttackUnlocked()}), (Flags{false, false}));
    struct stat info;
    EXPECT_NE(stat(path_.c_str(), &info), 0);
}

TEST_F(SaveFile, ReadsTheFourWrittenForms)
{
    EXPECT_EQ(load("0 0"), (Flags{false, false}));
    EXPECT_EQ(load("1 0"), (Flags{true, false}));
    EXPECT_EQ(load("0 1"), (Flags{false, true}));
    EXPECT_EQ(load("1 1"), (Flags{true, true}));
}

TEST_F(SaveFile, SkipsAnyWhiteSpaceAndIgnoresTrailingText)
{
    EXPECT_EQ(load("1\n1"), (Flags{true, true}));
    EXPECT_EQ(load("1\t1"), (Flags{true, true}));
    EXPECT_EQ(load("  1   1  "), (Flags{true, true}));
    EXPECT_EQ(load("1\r\n1\r\n"), (Flags{true, true}));
    EXPECT_EQ(load("1 1 and more"), (Flags{true, true}));
}

TEST_F(SaveFile, DamagedValueLocksItsModeAndEveryModeAfter)
{
    EXPECT_EQ(load(""), (Flags{false, false}));
    EXPECT_EQ(load("1"), (Flags{true, false}));
    EXPECT_EQ(load("11"), (Flags{false, false}));
    EXPECT_EQ(load("2 1"), (Flags{false, false}));
    EXPECT_EQ(load("1 2"), (Flags{true, false}));
    EXPECT_EQ(load("1x1"), (Flags{true, false}));
    EXPECT_EQ(load("true true"), (Flags{false, false}));
    EXPECT_EQ(load("-1 1"), (Flags{false, false}));
}

TEST_F(SaveFile, WritesExactlyThreeBytesOverALongerFile)
{
    write("1 1 this old file is much longer\n");
    setUnlocks(true, false);
    saveProgress(path_.c_str());
    EXPECT_EQ(read(), "1 0");
    setUnlocks(false, true);
    saveProgress(path_.c_str());
    EXPECT_EQ(read(), "0 1");
    setUnlocks(true, true);
    saveProgress(path_.c_str());
    EXPECT_EQ(read(), "1 1");
    EXPECT_EQ(leftoversBeside(path_), std::vector<std::string>{}); // nothing left beside it
    // The file looks as one that a plain fopen made.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info;
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(SaveFile, FailedWriteKeepsTheOldFile)
{
    // A save file whose name is as long as the folder allows leaves no room
    // for the temporary file's longer name, so the write fails.
    const std::string folder = ::testing::TempDir();
    const long longestName = pathconf(folder.c_str(), _PC_NAME_MAX);
    ASSERT_GT(longestName, 0);
    std::string name = "save-" + std::to_string(getpid()) + "-";
    name.resize(static_cast<std::size_t>(longestName), 'x');
    const std::string longPath = folder + name;
    ASSERT_TRUE(std::ofstream(longPath, std::ios::binary) << "1 0");
    setUnlocks(true, true);
    saveProgress(longPath.c_str());
    std::ifstream in(longPath, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1 0");
    EXPECT_TRUE(fumboAttackUnlocked() && spinAttackUnlocked()); // kept in memory
    EXPECT_EQ(leftoversBeside(longPath), std::vector<std::string>{});
    std::remove(longPath.c_str());
}

// Games saving at the same time, each in a process of its own, while another
// reads: every read finds one whole save, never an empty or a cut file.
TEST_F(SaveFile, ConcurrentSavesLeaveTheOldFileOrANewOneNeverACutOne)
{
    constexpr int kWriters = 8;
    constexpr int kSavesEach = 100;
    write("0 0");
    int startGate[2];
    ASSERT_EQ(pipe(startGate), 0);
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = fork();
        if (pid == 0) {
            // Every writer waits until all are there, so that they overlap.
            close(startGate[1]);
            char none;
            while (::read(startGate[0], &none, 1) < 0) {
            }
            setUnlocks(writer & 1, writer & 2);
            for (int save = 0; save < kSavesEach; ++save)
                saveProgress(path_.c_str());
            _exit(0);
        }
        if (pid > 0)
            writers.push_back(pid);
    }
    close(startGate[0]);
    close(startGate[1]);
    ASSERT_EQ(writers.size(), static_cast<std::size_t>(kWriters));

    int reads = 0;
    std::vector<std::string> badReads;
    while (!writers.empty()) {
        const std::string bytes = read();
        ++reads;
        if (!isWrittenForm(bytes))
            badReads.push_back(bytes);
        writers.erase(std::remove_if(writers.begin(), writers.end(),
                                     [](pid_t pid) {
                                         int status = 0;
                                         return waitpid(pid, &status, WNOHANG) == pid;
                                     }),
                      writers.end());
    }
    EXPECT_EQ(badReads.size(), 0u) << "of " << reads << " reads, the first bad one: \""
                                   << (badReads.empty() ? "" : badReads.front()) << "\"";
    EXPECT_TRUE(isWrittenForm(read())) << read();
    EXPECT_EQ(leftoversBeside(path_), std::vector<std::string>{});
}

TEST_F(SaveFile, UnwritableFolderIsSilent)
{
    setUnlocks(true, false);
    saveProgress("/no/such/folder/save.dat");
    EXPECT_TRUE(fumboAttackUnlocked());
}
