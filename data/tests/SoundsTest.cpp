#include "datagen/Synth.hpp"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<short> samples;
};

Decoded decode(const std::string& name)
{
    Decoded out;
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh)
        return out;
    mpg123_param(mh, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    const std::string path = std::string(PLAY_DIR) + "/" + name;
    if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
        int encoding = 0;
        mpg123_getformat(mh, &out.rate, &out.channels, &encoding);
        mpg123_format_none(mh);
        mpg123_format(mh, out.rate, out.channels, MPG123_ENC_SIGNED_16);
        std::vector<unsigned char> chunk(16384);
        for (;;) {
            size_t got = 0;
            const int result = mpg123_read(mh, chunk.data(), chunk.size(), &got);
            const short* s = reinterpret_cast<const short*>(chunk.data());
            out.samples.insert(out.samples.end(), s, s + got / sizeof(short));
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return out;
}

double rms(const std::vector<short>& s, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / (to - from)) : 0.0;
}

struct Effect {
    const char* file;
    std::function<std::vector<float>()> make;
};

void PrintTo(const Effect& effect, std::ostream* out)
{
    *out << effect.file;
}

class Sounds : public ::testing::TestWithParam<Effect> {};

} // namespace

TEST_P(Sounds, DecodeToAudibleMonoOfTheMadeLength)
{
    const Effect effect = GetParam();
    const Decoded d = decode(effect.file);
    ASSERT_EQ(d.rate, datagen::kEffectRate);
    ASSERT_EQ(d.channels, 1);
    const std::size_t made = effect.make().size();
    // The length header lets the decoder drop the encoder's padding.
    EXPECT_NEAR(static_cast<double>(d.samples.size()), static_cast<double>(made), 2.0);
    EXPECT_GT(rms(d.samples, 0, d.samples.size()), 1500.0);
    int peak = 0;
    for (short s : d.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 20000);
}

INSTANTIATE_TEST_SUITE_P(Effects, Sounds,
                         ::testing::Values(Effect{"smush.mp3", datagen::smashSound},
                                           Effect{"breath.mp3", datagen::breathSound},
                                           Effect{"sizzle.mp3", datagen::sizzleSound},
                                           Effect{"click.mp3", datagen::clickSound}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(SoundLengths, ShortEnoughForTheMomentTheyMark)
{
    const double rate = datagen::kEffectRate;
    EXPECT_LE(datagen::clickSound().size() / rate, 0.2);
    EXPECT_LE(datagen::smashSound().size() / rate, 0.6);
    EXPECT_LE(datagen::breathSound().size() / rate, 1.2);
    EXPECT_LE(datagen::sizzleSound().size() / rate, 1.5);
}

TEST(SoundShapes, ClickIsSharpAndFadesFast)
{
    const Decoded d = decode("click.mp3");
    const std::size_t ms = datagen::kEffectRate / 1000;
    ASSERT_GT(d.samples.size(), 100 * ms);
    EXPECT_GT(rms(d.samples, 0, 5 * ms), 10 * rms(d.samples, 80 * ms, d.samples.size()));
}
