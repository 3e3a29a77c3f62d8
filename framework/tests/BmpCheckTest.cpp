#include "HeadlessScreen.hpp"

#include "framework/BmpCheck.hpp"
#include "framework/Image.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

class BmpCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        BITMAP* picture = create_bitmap_ex(24, 30, 20);
        clear_to_color(picture, makecol24(10, 200, 30));
        save_bitmap(path_.c_str(), picture, nullptr);
        destroy_bitmap(picture);
        std::ifstream in(path_, std::ios::binary);
        good_.assign(std::istreambuf_iterator<char>(in), {});
    }
    void TearDown() override { std::remove(path_.c_str()); }

    void write(const Bytes& bytes)
    {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    HeadlessScreen screen_;
    const std::string path_ =
        ::testing::TempDir() + "bmpcheck-" + std::to_string(getpid()) + ".bmp";
    Bytes good_;
};

} // namespace

TEST_F(BmpCheck, AcceptsAWholeBmp)
{
    ASSERT_GT(good_.size(), 54u);
    EXPECT_TRUE(isSafeBmp(good_.data(), good_.size()));
    EXPECT_TRUE(isSafeBmp(path_.c_str()));
    Image image;
    image.load(path_.c_str());
    EXPECT_EQ(image.width(), 30);
}

TEST_F(BmpCheck, RefusesDamagedFilesAndImageStaysEmpty)
{
    std::vector<Bytes> damaged;
    damaged.push_back(Bytes(good_.begin(), good_.end() - 1));    // last row cut short
    damaged.push_back(Bytes(good_.begin(), good_.begin() + 20)); // header cut short
    damaged.push_back({});
    Bytes b = good_;
    b[0] = 'X'; // not a BMP
    damaged.push_back(b);
    b = good_;
    put32(b, 18, 0x7fffffff); // absurd width
    damaged.push_back(b);
    b = good_;
    put32(b, 22, 0x80000000u); // absurd height
    damaged.push_back(b);
    b = good_;
    put32(b, 22, static_cast<std::uint32_t>(-20)); // rows stored top-down
    damaged.push_back(b);
    b = good_;
    put32(b, 18, 0); // no width
    damaged.push_back(b);
    b = good_;
    b[28] = 7; // no such depth
    damaged.push_back(b);
    b = good_;
    put32(b, 30, 1); // run-length packed rows
    damaged.push_back(b);
    b = good_;
    put32(b, 10, 0xfffffff0u); // pixels past the end
    damaged.push_back(b);
    b = good_;
    put32(b, 14, 0xffffff00u); // unknown header
    damaged.push_back(b);

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(isSafeBmp(damaged[i].data(), damaged[i].size()));
        write(damaged[i]);
        Image image;
        image.load(path_.c_str());
        EXPECT_EQ(image.width(), 0);
    }
}
