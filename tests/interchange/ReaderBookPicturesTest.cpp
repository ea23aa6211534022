// The reader book's pictures drawn by the program's own raster: a real picture scaled and cut into bands,
// each GIF file read back by decoders other than the one that wrote it (Qt's reader, and ImageMagick's
// identify where it is installed).
#include "interchange/ReaderBook.h"

#include "model/collection/Itemsarray.h"
#include "platform/qt/Pictures.h"
#include "platform/richtext/RichTextOps.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

namespace fs = std::filesystem;
using lf::test::BookBuilder;
using lf::test::FakeSystem;
using lf::test::TempDir;

// A 600 x 900 PNG: a red top half over a blue bottom half, so the bands differ.
lf::SRichPicture TallPicture()
{
    QImage image(600, 900, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter(&image).fillRect(0, 450, 600, 450, Qt::blue);
    return lf::qt::ToPng(image);
}

std::string StoredTextWithPicture(const lf::SRichPicture& picture, int shownWidth)
{
    lf::RichDocument doc;
    doc.content.AddText("Before", 0, 0, true);
    doc.content.AddPicture(picture, shownWidth, 0, 0, false);
    std::string text;
    GetXMLFormRE(text, doc);
    return text;
}

// "WIDTHxHEIGHT" as ImageMagick's identify reads the file; empty when identify is not installed.
std::string IdentifySize(const std::string& path)
{
    if (std::system("command -v identify >/dev/null 2>&1") != 0)
        return {};
    const std::string command = "identify -format '%wx%h' '" + path + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[64];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()))
        out += buffer;
    return out.empty() ? "unreadable" : out;
}

TEST(ReaderBookPictures, TallPictureGivesThreeGifFilesThatOtherDecodersRead)
{
    FakeSystem system;
    TempDir dir;
    lf::qt::PictureRaster raster;
    lf::RichDocument view;
    CItemsArray2 items;
    BookBuilder(items).multipleChoice(StoredTextWithPicture(TallPicture(), 620), {"a"}, 0);
    SExchangeContext context;
    context.view = &view;
    context.pictures = &raster;
    ASSERT_TRUE(SaveKindleXML(dir.file("Tall"), &items, false, context));

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("Tall.lnf2").c_str()));
    pugi::xml_node q = doc.child("book").child("questions").child("question").child("q");
    std::vector<std::string> cells;
    for (pugi::xml_node tc : q.children("tc"))
        cells.push_back(std::string(tc.child_value("t")) + "|" + tc.child_value("img"));
    EXPECT_EQ(cells,
              (std::vector<std::string>{"Before|img1700000000multi_12.gif", "|img1700000000multi_23.gif"}));

    const struct
    {
        const char* name;
        int width, height;
        QRgb top;
    } files[] = {{"img1700000000multi_full1.gif", 500, 750, qRgb(255, 0, 0)},
                 {"img1700000000multi_12.gif", 500, 500, qRgb(255, 0, 0)},
                 {"img1700000000multi_23.gif", 500, 250, qRgb(0, 0, 255)}};
    const std::string media = dir.file("Tall") + "/";
    EXPECT_EQ(std::distance(fs::directory_iterator(media), fs::directory_iterator()), 3);
    for (const auto& f : files)
    {
        const std::string path = media + f.name;
        QImageReader reader(QString::fromStdString(path));
        EXPECT_EQ(reader.format().toStdString(), "gif") << f.name;
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << f.name << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(f.width, f.height)) << f.name;
        // The quantiser keeps five bits of each channel: the colour stays within eight steps.
        const QRgb pixel = image.pixel(10, 10);
        EXPECT_NEAR(qRed(pixel), qRed(f.top), 8) << f.name;
        EXPECT_NEAR(qBlue(pixel), qBlue(f.top), 8) << f.name;
        const std::string identified = IdentifySize(path);
        if (!identified.empty())
        {
            EXPECT_EQ(identified, std::to_string(f.width) + "x" + std::to_string(f.height)) << f.name;
        }
    }
}

TEST(ReaderBookPictures, PictureThatDoesNotDecodeIsLeftOutWithItsTextKept)
{
    FakeSystem system;
    TempDir dir;
    lf::qt::PictureRaster raster;
    lf::RichDocument view;
    CItemsArray2 items;
    BookBuilder(items).multipleChoice(StoredTextWithPicture({"not a picture", "png"}, 0), {"a"}, 0);
    SExchangeContext context;
    context.view = &view;
    context.pictures = &raster;
    ASSERT_TRUE(SaveKindleXML(dir.file("Broken"), &items, false, context));
    EXPECT_TRUE(fs::is_empty(dir.file("Broken")));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("Broken.lnf2").c_str()));
    pugi::xml_node q = doc.child("book").child("questions").child("question").child("q");
    EXPECT_STREQ(q.child("tc").child_value("t"), "Before");
    EXPECT_FALSE(q.child("tc").child("img"));
}

} // namespace
