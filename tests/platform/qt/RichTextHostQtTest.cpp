#include "platform/qt/RichTextHostQt.h"
#include "platform/richtext/HtmlImport.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{

std::string Png(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

TEST(BrowserBodyText, HtmlRepliesBecomeTheirBodyTextOthersStayAsTheyAre)
{
    const struct
    {
        bool ok;
        const char* contentType;
        std::string body;
        std::string text;
    } cases[] = {
        {true, "text/html; charset=utf-8",
         "<html><head><title>T</title><script>x=1;</script></head><body><p>MAJOR_VER=4;</p><p>MINOR_VER=9</p>"
         "</body></html>",
         "MAJOR_VER=4;\r\nMINOR_VER=9"},
        {true, "", "  <!DOCTYPE html><html><body>BUILD_NUM=611</body></html>", "BUILD_NUM=611"},
        {true, "text/plain", "MAJOR_VER=4;<b>MINOR_VER=9</b>", "MAJOR_VER=4;<b>MINOR_VER=9</b>"},
        {false, "text/html", "<html><body>Not Found</body></html>", ""},
    };
    for (const auto& c : cases)
    {
        lf::qt::SHttpReply reply;
        reply.ok = c.ok;
        reply.contentType = c.contentType;
        reply.body = c.body;
        EXPECT_EQ(lf::qt::GetBrowserBodyText(reply), c.text) << c.body;
    }
}

TEST(FetchPicture, ReadsFilesFileAddressesDataAddressesAndTheWeb)
{
    lf::test::TempDir dir;
    const std::string png = Png(3);
    lf::test::WriteFile(dir.file("p.png"), png);
    lf::test::WriteFile(dir.file("text.png"), "no picture");

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection,
                     [&]
                     {
                         QTcpSocket* socket = server.nextPendingConnection();
                         QObject::connect(
                             socket, &QTcpSocket::readyRead, socket,
                             [socket, png]
                             {
                                 socket->readAll();
                                 socket->write(
                                     "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                                     QByteArray::number(static_cast<int>(png.size())) +
                                     "\r\nConnection: close\r\n\r\n" + QByteArray::fromStdString(png));
                                 socket->disconnectFromHost();
                             });
                     });
    const std::string web = "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/p.png";
    const std::string data =
        "data:image/png;base64," + QByteArray::fromStdString(png).toBase64().toStdString();

    for (const std::string& source : {dir.file("p.png"), "file://" + dir.file("p.png"), data, web})
    {
        const lf::SRichPicture picture = lf::qt::FetchPicture(source);
        EXPECT_EQ(picture.format, "png") << source;
        EXPECT_EQ(picture.data, png) << source;
    }
    for (const std::string& source :
         {dir.file("text.png"), dir.file("missing.png"), std::string("data:,x"), std::string("")})
        EXPECT_TRUE(lf::qt::FetchPicture(source).Empty()) << source;
}

TEST(RichTextHostQt, ImportedPagesGetTheirPicturesOnceUntilTheCacheIsCleared)
{
    const lf::SRichTextHost saved = lf::RichTextHost();
    lf::test::TempDir dir;
    const std::string png = Png(4);
    lf::test::WriteFile(dir.file("p.png"), png);
    lf::SRichFieldFont font;
    font.name = "DejaVu Sans";
    lf::qt::InstallRichTextHost(font);
    EXPECT_EQ(lf::RichTextHost().fieldFont, font);

    const auto importedPicture = [&]
    {
        lf::SHtmlImportOptions options;
        options.requestPicture = lf::RichTextHost().requestPicture;
        options.fetchPictures = true;
        lf::RichDocument doc;
        lf::ImportHtml("<p>x<img src=\"file://" + dir.file("p.png") + "\"></p>", doc, options);
        for (const lf::SRichItem& item : doc.content.items)
            if (item.IsPicture())
                return item.picture;
        return lf::SRichPicture{};
    };
    EXPECT_EQ(importedPicture().data, png);
    std::filesystem::remove(dir.file("p.png"));
    EXPECT_EQ(importedPicture().data, png); // fetched once
    lf::qt::ClearFetchedPictures();
    EXPECT_EQ(importedPicture().format, "svg"); // gone: the placeholder
    lf::RichTextHost() = saved;
}

} // namespace
