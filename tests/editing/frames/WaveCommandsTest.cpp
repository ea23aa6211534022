// The recorder's command strings, the wave settings and the wave file our code writes.
#include "editing/frames/WaveCommands.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using V = SWaveCommand::EVerb;
using lf::test::PrintTo;

struct CommandCase
{
    const char* name;
    const char* command;
    V verb;
    const char* alias;
    std::vector<std::string> words;
};

class WaveCommandTable : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(WaveCommandTable, SplitsTheCommand)
{
    const CommandCase& row = GetParam();
    const SWaveCommand parsed = ParseWaveCommand(row.command);
    EXPECT_EQ(parsed.verb, row.verb);
    EXPECT_EQ(parsed.alias, row.alias);
    EXPECT_EQ(parsed.words, row.words);
}

INSTANTIATE_TEST_SUITE_P(
    RecorderCommands, WaveCommandTable,
    ::testing::Values(CommandCase{"Open", "OPEN NEW TYPE WAVEAUDIO ALIAS lfdsound", V::Open, "lfdsound", {}},
                      CommandCase{"OpenInLowerCase", "open new type waveaudio alias snd", V::Open, "snd", {}},
                      CommandCase{"OpenOfAFileIsRefused", "OPEN c:\\a.wav ALIAS x", V::Unknown, "", {}},
                      CommandCase{"Set",
                                  "SET lfdsound TIME FORMAT MS BITSPERSAMPLE 8",
                                  V::Set,
                                  "lfdsound",
                                  {"TIME", "FORMAT", "MS", "BITSPERSAMPLE", "8"}},
                      CommandCase{"Record", "RECORD lfdsound", V::Record, "lfdsound", {}},
                      CommandCase{"SaveKeepsBlanks",
                                  "SAVE lfdsound \"/b/My Bio/Bio_1_q_1.wav\"",
                                  V::Save,
                                  "lfdsound",
                                  {"/b/My Bio/Bio_1_q_1.wav"}},
                      CommandCase{"SaveKeepsQuotesInsideTheName",
                                  "SAVE lfdsound \"/b/say \"hi\".wav\"",
                                  V::Save,
                                  "lfdsound",
                                  {"/b/say \"hi\".wav"}},
                      CommandCase{"SaveWithoutFileIsRefused", "SAVE lfdsound", V::Unknown, "", {}},
                      CommandCase{"Close", "CLOSE lfdsound", V::Close, "lfdsound", {}},
                      CommandCase{"PlayIsNotACommandOfTheRecorder", "PLAY lfdsound", V::Unknown, "", {}},
                      CommandCase{"Empty", "", V::Unknown, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveCommands, TheRecordersSettingsGive8BitMono8000)
{
    SWaveFormat format;
    format.channels = 2;
    format.bitsPerSample = 16;
    const SWaveCommand set = ParseWaveCommand(
        "SET lfdsound TIME FORMAT MS BITSPERSAMPLE 8 CHANNELS 1 SAMPLESPERSEC 8000 BYTESPERSEC 8000");
    ASSERT_TRUE(ApplyWaveSettings(set.words, format));
    EXPECT_EQ(format, (SWaveFormat{1, 8000, 8}));
}

TEST(WaveCommands, SettingsItCannotRecordLeaveTheFormatAlone)
{
    for (const char* command :
         {"SET a BITSPERSAMPLE 12", "SET a CHANNELS 3", "SET a SAMPLESPERSEC 999999", "SET a BITSPERSAMPLE",
          "SET a BITSPERSAMPLE 8 BYTESPERSEC 16000", "SET a TIME FORMAT FRAMES", "SET a VOLUME 5"})
    {
        SWaveFormat format;
        EXPECT_FALSE(ApplyWaveSettings(ParseWaveCommand(command).words, format)) << command;
        EXPECT_EQ(format, SWaveFormat()) << command;
    }
}

// The header of 8-bit mono 8000 Hz PCM, byte by byte.
TEST(WaveCommands, HeaderOf8BitMonoPcm)
{
    const std::string header = MakeWaveHeader(SWaveFormat(), 8000);
    // RIFF size 36 + 8000; format block of 16 bytes: PCM, one channel, 8000 samples and 8000 bytes a
    // second, blocks of one byte, 8 bits a sample; then the data size, 8000.
    const std::string expected("RIFF\x64\x1F\x00\x00"
                               "WAVEfmt \x10\x00\x00\x00"
                               "\x01\x00\x01\x00\x40\x1F\x00\x00\x40\x1F\x00\x00\x01\x00\x08\x00"
                               "data\x40\x1F\x00\x00",
                               44);
    ASSERT_EQ(header.size(), 44u);
    for (std::size_t i = 0; i < 44; ++i)
        EXPECT_EQ(header[i], expected[i]) << "byte " << i;
}

TEST(WaveCommands, WriteWaveFileWritesHeaderAndSamples)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("note.wav");
    const std::string samples(400, '\x80');
    ASSERT_TRUE(WriteWaveFile(path, SWaveFormat(), samples));
    const std::string bytes = lf::test::ReadFile(path);
    EXPECT_EQ(bytes, MakeWaveHeader(SWaveFormat(), 400) + samples);
    // A folder that does not exist refuses the file and says why.
    std::string error;
    EXPECT_FALSE(WriteWaveFile(dir.file("missing/note.wav"), SWaveFormat(), samples, &error));
    EXPECT_FALSE(error.empty());
}

TEST(WaveCommands, EveryErrorCodeHasAText)
{
    for (int code : {kWaveUnknownCommand, kWaveNotOpen, kWaveAliasInUse, kWaveBadSettings, kWaveNoRecorder,
                     kWaveNotRecording, kWaveCannotSave})
        EXPECT_FALSE(WaveErrorText(code).empty()) << code;
    EXPECT_EQ(WaveErrorText(kWaveOk), "");
    EXPECT_EQ(WaveErrorText(12345), "");
}

} // namespace
