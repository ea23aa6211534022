#include "platform/qt/Pictures.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <set>

namespace
{

using lf::qt::LoadPictureFile;

// A 1 x 1 GIF (Qt reads GIF but does not write it).
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                              0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                              0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                              0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

std::string Encode(const char* format, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

TEST(Pictures, EveryPictureExtensionOpensWhateverItsCase)
{
    lf::test::TempDir dir;
    const struct
    {
        const char* name;
        std::string bytes;
        const char* format;
        int size;
    } cases[] = {
        {"a.jpg", Encode("JPEG", 5), "jpeg", 5},
        {"b.JPEG", Encode("JPEG", 6), "jpeg", 6},
        {"c.jpeg", Encode("JPEG", 7), "jpeg", 7},
        {"d.Gif", std::string(reinterpret_cast<const char*>(kGif), sizeof kGif), "gif", 1},
        {"e.png", Encode("PNG", 8), "png", 8},
        {"f.BMP", Encode("BMP", 9), "bmp", 9},
        {"g.dib", Encode("BMP", 10), "bmp", 10},
        {"h.ico", Encode("ICO", 16), "ico", 16},
        {"i.jpg", Encode("PNG", 11), "png", 11}, // named as JPEG, kept as what it is
    };
    for (const auto& c : cases)
    {
        const std::string path = dir.file(c.name);
        lf::test::WriteFile(path, c.bytes);
        const lf::qt::SPictureFile picture = LoadPictureFile(path);
        ASSERT_TRUE(picture.ok) << c.name << ": " << picture.error;
        EXPECT_EQ(picture.image.width(), c.size) << c.name;
        EXPECT_EQ(picture.picture.format, c.format) << c.name;
        EXPECT_EQ(picture.picture.data, c.bytes) << c.name;
    }
}

TEST(Pictures, MissingFilesAndOtherFormatsGetTheirTexts)
{
    lf::test::TempDir dir;
    for (const char* name : {"m.wmf", "m.EMF", "m.Tiff", "noextension", "broken.png"})
        lf::test::WriteFile(dir.file(name), "not a picture");
    const struct
    {
        std::string path;
        std::string error;
    } cases[] = {
        {dir.file("none.png"), "File '" + dir.file("none.png") + "' is not exist!"},
        {dir.file("none.xyz"), "File '" + dir.file("none.xyz") + "' is not exist!"},
        {"", "File '' is not exist!"},
        {dir.file("m.wmf"), "Format '.wmf' is not supported!"},
        {dir.file("m.EMF"), "Format '.EMF' is not supported!"},
        {dir.file("m.Tiff"), "Format '.Tiff' is not supported!"},
        {dir.file("noextension"), "Format '' is not supported!"},
    };
    for (const auto& c : cases)
    {
        const lf::qt::SPictureFile picture = LoadPictureFile(c.path);
        EXPECT_FALSE(picture.ok) << c.path;
        EXPECT_EQ(picture.error, c.error);
    }
    const lf::qt::SPictureFile broken = LoadPictureFile(dir.file("broken.png"));
    EXPECT_FALSE(broken.ok);
    EXPECT_FALSE(broken.error.empty());
    EXPECT_TRUE(broken.picture.Empty());
}

TEST(Pictures, ToPngKeepsEveryPixelAndGivesNothingForANullImage)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    const QRgb pixels[] = {qRgba(255, 0, 0, 255), qRgba(0, 255, 0, 128),    qRgba(0, 0, 255, 0),
                           qRgba(1, 2, 3, 255),   qRgba(250, 251, 252, 10), qRgba(9, 8, 7, 200)};
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, pixels[i]);
    const lf::SRichPicture png = lf::qt::ToPng(image);
    EXPECT_EQ(png.format, "png");
    ASSERT_EQ(png.data.substr(0, 4), "\x89PNG");
    const QImage decoded = QImage::fromData(QByteArray::fromStdString(png.data), "PNG");
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_ARGB32), image);

    EXPECT_TRUE(lf::qt::ToPng(QImage()).data.empty());
}

TEST(Pictures, AnswerImageListHasFortyDistinctPicturesOfThirtyTwoPixels)
{
    std::set<std::string> seen;
    for (int i = 0; i < lf::qt::kAnswerPictureCount; ++i)
    {
        const QImage picture = lf::qt::AnswerPicture(i);
        ASSERT_EQ(picture.size(), QSize(32, 32)) << i;
        const QImage asArgb = picture.convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(seen.insert(std::string(reinterpret_cast<const char*>(asArgb.constBits()),
                                            static_cast<std::size_t>(asArgb.sizeInBytes())))
                        .second)
            << "picture " << i << " repeats an earlier one";
        // The bytes handed to a rich-text view show the same picture.
        const lf::SRichPicture rich = lf::qt::AnswerRichPicture(i);
        EXPECT_EQ(rich.format, "png");
        const QImage decoded = QImage::fromData(QByteArray::fromStdString(rich.data), "PNG");
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_ARGB32), asArgb) << i;
    }
    EXPECT_TRUE(lf::qt::AnswerPicture(-1).isNull());
    EXPECT_TRUE(lf::qt::AnswerPicture(40).isNull());
    EXPECT_TRUE(lf::qt::AnswerRichPicture(40).Empty());
}

TEST(Pictures, AnswerRowsTakeTheirLetteredPicture)
{
    const struct
    {
        int row, base;
        bool chosen;
        int index;
    } cases[] = {
        {0, lf::qt::kSquarePictures, false, 1}, {0, lf::qt::kSquarePictures, true, 11},
        {8, lf::qt::kSquarePictures, false, 9}, {8, lf::qt::kRoundPictures, true, 39},
        {2, lf::qt::kRoundPictures, false, 23}, {9, lf::qt::kSquarePictures, false, 0},
        {12, lf::qt::kRoundPictures, true, 30}, {9, lf::qt::kRoundPictures, false, 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lf::qt::AnswerPictureIndex(c.row, c.base, c.chosen), c.index) << c.row << " " << c.base;
}

TEST(Pictures, LegendSquaresAreTwoToned)
{
    const QRgb tones[4][2] = {{qRgb(0, 187, 0), qRgb(0, 170, 0)},
                              {qRgb(255, 255, 128), qRgb(255, 255, 0)},
                              {qRgb(204, 0, 0), qRgb(187, 0, 0)},
                              {qRgb(170, 170, 170), qRgb(150, 150, 150)}};
    for (int i = 0; i < lf::qt::kLegendSquareCount; ++i)
    {
        const QImage square = lf::qt::LegendSquare(i);
        ASSERT_EQ(square.size(), QSize(14, 14));
        for (const QPoint upper : {QPoint(0, 0), QPoint(13, 6)})
            EXPECT_EQ(square.pixel(upper), tones[i][0]) << i;
        for (const QPoint lower : {QPoint(0, 7), QPoint(13, 13)})
            EXPECT_EQ(square.pixel(lower), tones[i][1]) << i;
        EXPECT_EQ(lf::qt::LegendRichPicture(i).format, "png");
    }
    EXPECT_TRUE(lf::qt::LegendSquare(4).isNull());
}

} // namespace
