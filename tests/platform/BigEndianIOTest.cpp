#include "platform/sys/BigEndianIO.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{

using lf::test::PrintTo;
using namespace lf::sys;

class BigEndianIOTest : public ::testing::Test
{
protected:
    std::FILE* Open(const char* mode) { return std::fopen(m_path.c_str(), mode); }
    std::string Bytes() const { return lf::test::ReadFile(m_path); }

    lf::test::TempDir m_dir;
    std::string m_path = m_dir.file("data.pdb");
};

TEST_F(BigEndianIOTest, WritesMostSignificantByteFirstAndReadsItBack)
{
    std::FILE* out = Open("wb");
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(WriteBE16(out, 0x1234));
    EXPECT_TRUE(WriteBE32(out, 0x89ABCDEFu));
    EXPECT_TRUE(WriteByte(out, 0xFE));
    EXPECT_TRUE(WriteBytes(out, "xy", 2));
    std::fclose(out);
    EXPECT_EQ(Bytes(), std::string("\x12\x34\x89\xAB\xCD\xEF\xFExy", 9));

    std::FILE* in = Open("rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(ReadBE16(in), 0x1234);
    EXPECT_EQ(ReadBE32(in), 0x89ABCDEFu);
    char rest[3] = {};
    EXPECT_EQ(ReadBytes(in, rest, 3), 1);
    EXPECT_EQ(std::string(rest, 3), "\xFExy");
    std::fclose(in);
}

TEST_F(BigEndianIOTest, ShortReadsGiveZeroBytesNotGarbage)
{
    lf::test::WriteFile(m_path, std::string("\xAB\xCD\xEF", 3));
    std::FILE* in = Open("rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(ReadBE32(in), 0xABCDEF00u);
    EXPECT_EQ(ReadBE16(in), 0u);
    char buffer[4] = {'q', 'q', 'q', 'q'};
    EXPECT_EQ(ReadBytes(in, buffer, 4), 0);
    EXPECT_EQ(std::string(buffer, 4), std::string(4, '\0'));
    std::fclose(in);
}

TEST_F(BigEndianIOTest, TextWritersEndWithOneZeroByte)
{
    std::FILE* out = Open("wb");
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(WriteTextCR(out, "a\rb\r\nc", 4)); // the first four bytes, CR as blank
    EXPECT_TRUE(WriteTextCR(out, "hi", 10));       // never past the text's end
    EXPECT_TRUE(WriteBytesNul(out, "abc\rd", 4));
    std::fclose(out);
    EXPECT_EQ(Bytes(), std::string("a b \0hi\0abc\r\0", 13));
}

struct PaddedCase
{
    const char* text;
    std::size_t width;
    std::size_t expectedSize;
};

class PaddedTextTest : public BigEndianIOTest, public ::testing::WithParamInterface<PaddedCase>
{
};

TEST_P(PaddedTextTest, PadsWithZerosUpToTheWidth)
{
    const PaddedCase& c = GetParam();
    std::FILE* out = Open("wb");
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(WritePaddedText(out, c.text, c.width));
    std::fclose(out);
    std::string expected(c.text);
    expected.resize(c.expectedSize, '\0');
    EXPECT_EQ(Bytes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PaddedTextTest,
                         ::testing::Values(PaddedCase{"abc", 8, 8}, PaddedCase{"abc", 2, 4},
                                           PaddedCase{"abc", 3, 4}, PaddedCase{"abc", 4, 4},
                                           PaddedCase{"", 0, 1}));

} // namespace

namespace
{

TEST(BigEndianBuffer, StoresMostSignificantByteFirstAndLoadsItBack)
{
    unsigned char bytes[6] = {};
    lf::sys::StoreBE16(bytes, 0xFE01);
    lf::sys::StoreBE32(bytes + 2, 0x80A1B2C3u);
    const unsigned char expected[6] = {0xFE, 0x01, 0x80, 0xA1, 0xB2, 0xC3};
    EXPECT_EQ(std::string(bytes, bytes + 6), std::string(expected, expected + 6));
    EXPECT_EQ(lf::sys::LoadBE16(bytes), 0xFE01);
    EXPECT_EQ(lf::sys::LoadBE32(bytes + 2), 0x80A1B2C3u);
    // Bytes at or above 0x80 in a char buffer are not sign-extended into the neighbours.
    const std::string text(reinterpret_cast<const char*>(expected), 6);
    EXPECT_EQ(lf::sys::LoadBE16(text.data()), 0xFE01);
    EXPECT_EQ(lf::sys::LoadBE32(text.data() + 2), 0x80A1B2C3u);
}

} // namespace
