#include "datagen/XmWriter.hpp"

#include <gtest/gtest.h>
#include <xmp.h>

#include <stdexcept>

using namespace datagen;

namespace {

int le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8;
}

// Header of 60 bytes plus 276, then the first pattern's 9-byte header.
constexpr std::size_t kFirstPattern = 60 + 276;

XmModule tinyModule()
{
    XmModule m;
    m.name = "tiny";
    m.channels = 2;
    m.ticksPerRow = 5;
    m.beatsPerMinute = 140;
    m.order = {0, 0};
    m.restartPosition = 1;
    XmPattern p;
    p.rows = 2;
    p.cells.resize(4);
    p.cells[0] = {49, 1, 0x50, 0, 0};
    p.cells[3] = {kNoteOff, 0, 0, 0, 0};
    m.patterns = {p};
    XmInstrument in;
    in.name = "beep";
    in.sample.data = {0, 1000, -1000, 32000, -32000, 5};
    in.sample.loopStart = 2;
    in.sample.loopLength = 4;
    in.sample.relativeNote = 24;
    in.volumeEnvelope = {{0, 64}, {10, 32}};
    in.sustainPoint = 1;
    m.instruments = {in};
    return m;
}

} // namespace

TEST(XmHeader, CarriesTheSongLayout)
{
    const std::vector<std::uint8_t> b = writeXm(tinyModule());
    EXPECT_EQ(std::string(b.begin(), b.begin() + 17), "Extended Module: ");
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(le16(b, 58), 0x0104);
    EXPECT_EQ(le16(b, 60), 276);
    EXPECT_EQ(le16(b, 64), 2); // song length
    EXPECT_EQ(le16(b, 66), 1); // restart
    EXPECT_EQ(le16(b, 68), 2); // channels
    EXPECT_EQ(le16(b, 70), 1); // patterns
    EXPECT_EQ(le16(b, 72), 1); // instruments
    EXPECT_EQ(le16(b, 74), 1); // linear frequencies
    EXPECT_EQ(le16(b, 76), 5);
    EXPECT_EQ(le16(b, 78), 140);
}

TEST(XmPatternData, FullCellsGoRawEmptyCellsAsOneFlagByte)
{
    XmModule m = tinyModule();
    m.patterns[0].cells[1] = {50, 1, 0x20, 0x0F, 0x06};
    const std::vector<std::uint8_t> b = writeXm(m);
    const std::size_t data = kFirstPattern + 9;
    const std::vector<std::uint8_t> expected{0x87, 49,   1,    0x50, 50,   1,
                                             0x20, 0x0F, 0x06, 0x80, 0x81, kNoteOff};
    ASSERT_EQ(le16(b, kFirstPattern + 7), static_cast<int>(expected.size()));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + data, b.begin() + data + expected.size()),
              expected);
}

TEST(XmPatternData, CellsThatDoNotFillThePatternAreRefused)
{
    XmModule m = tinyModule();
    m.patterns[0].cells.pop_back();
    EXPECT_THROW(writeXm(m), std::invalid_argument);
}

TEST(XmModuleLimits, TooManyEnvelopePointsOrNoOrderAreRefused)
{
    XmModule m = tinyModule();
    m.instruments[0].volumeEnvelope.resize(13);
    EXPECT_THROW(writeXm(m), std::invalid_argument);
    XmModule empty = tinyModule();
    empty.order.clear();
    EXPECT_THROW(writeXm(empty), std::invalid_argument);
}

TEST(XmSamples, StoredAsDeltasThatAddUpToTheWave)
{
    const XmModule m = tinyModule();
    const std::vector<std::uint8_t> b = writeXm(m);
    const std::vector<std::int16_t>& wave = m.instruments[0].sample.data;
    const std::size_t start = b.size() - wave.size() * 2;
    std::int16_t value = 0;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        value =
            static_cast<std::int16_t>(value + static_cast<std::int16_t>(le16(b, start + 2 * i)));
        EXPECT_EQ(value, wave[i]) << "sample " << i;
    }
}

TEST(XmPlayer, ReadsBackInstrumentsSamplesAndLoops)
{
    std::vector<std::uint8_t> b = writeXm(tinyModule());
    xmp_context player = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(player, b.data(), static_cast<long>(b.size())), 0);
    xmp_module_info info;
    xmp_get_module_info(player, &info);
    const xmp_module* mod = info.mod;
    EXPECT_EQ(mod->chn, 2);
    EXPECT_EQ(mod->len, 2);
    EXPECT_EQ(mod->rst, 1);
    EXPECT_EQ(mod->spd, 5);
    EXPECT_EQ(mod->bpm, 140);
    ASSERT_EQ(mod->ins, 1);
    ASSERT_EQ(mod->smp, 1);
    EXPECT_EQ(mod->xxs[0].len, 6);
    EXPECT_EQ(mod->xxs[0].lps, 2);
    EXPECT_EQ(mod->xxs[0].lpe, 6);
    EXPECT_TRUE(mod->xxs[0].flg & XMP_SAMPLE_16BIT);
    EXPECT_TRUE(mod->xxs[0].flg & XMP_SAMPLE_LOOP);
    EXPECT_EQ(mod->xxi[0].aei.npt, 2);
    EXPECT_EQ(mod->xxi[0].sub[0].xpo, 24);
    xmp_release_module(player);
    xmp_free_context(player);
}
