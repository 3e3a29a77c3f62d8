#include "framework/SaveFile.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_NE(access((path_ + ".new").c_str(), F_OK), 0); // nothing left beside it
}

TEST_F(SaveFile, FailedWriteKeepsTheOldFile)
{
    write("1 0");
    // A folder where the temporary file should go makes the write fail.
    const std::string blocker = path_ + ".new";
    ASSERT_EQ(mkdir(blocker.c_str(), 0700), 0);
    setUnlocks(true, true);
    saveProgress(path_.c_str());
    rmdir(blocker.c_str());
    EXPECT_EQ(read(), "1 0");
    EXPECT_TRUE(fumboAttackUnlocked() && spinAttackUnlocked()); // kept in memory
}

TEST_F(SaveFile, UnwritableFolderIsSilent)
{
    setUnlocks(true, false);
    saveProgress("/no/such/folder/save.dat");
    EXPECT_TRUE(fumboAttackUnlocked());
}
