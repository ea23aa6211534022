#include "platform/qt/RichTextHostQt.h"

#include "platform/qt/QtText.h"
#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/PlainText.h"
#include "platform/sys/TextCase.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QUrl>

#include <algorithm>
#include <cctype>

namespace lf::qt
{

namespace
{

lf::RichPictureCache& FetchedPictures()
{
    static lf::RichPictureCache cache;
    return cache;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && lf::sys::FoldCase(text.substr(0, prefix.size())) == prefix;
}

// The bytes as a picture, with the format they really have; empty when they are none.
lf::SRichPicture AsPicture(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty() || reader.read().isNull())
        return {};
    return {bytes.toStdString(), format == "jpg" ? "jpeg" : format.toStdString()};
}

QByteArray ReadLocal(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

lf::SRichPicture FetchPicture(const std::string& source, int timeoutMs)
{
    if (source.empty())
        return {};
    if (StartsWithNoCase(source, "http://") || StartsWithNoCase(source, "https://"))
    {
        const SHttpReply reply = HttpGetAndWait(source, timeoutMs);
        return reply.ok ? AsPicture(QByteArray::fromStdString(reply.body)) : lf::SRichPicture{};
    }
    if (StartsWithNoCase(source, "www."))
        return FetchPicture("http://" + source, timeoutMs);
    if (StartsWithNoCase(source, "data:"))
    {
        const std::size_t comma = source.find(',');
        if (comma == std::string::npos)
            return {};
        const std::string header = source.substr(0, comma);
        const QByteArray payload = QByteArray::fromStdString(source.substr(comma + 1));
        const bool base64 =
            header.size() >= 7 && lf::sys::FoldCase(header.substr(header.size() - 7)) == ";base64";
        return AsPicture(base64 ? QByteArray::fromBase64(payload) : QByteArray::fromPercentEncoding(payload));
    }
    if (StartsWithNoCase(source, "file:"))
        return AsPicture(ReadLocal(QUrl(ToQString(source)).toLocalFile()));
    std::string path = source;
    std::replace(path.begin(), path.end(), '\\', '/');
    return AsPicture(ReadLocal(ToQString(path)));
}

void InstallRichTextHost(const lf::SRichFieldFont& fieldFont)
{
    lf::RichTextHost().fieldFont = fieldFont;
    lf::RichTextHost().requestPicture = [](const std::string& source, int width, int height, bool fetch)
    {
        return FetchedPictures().Get(source, width, height, fetch,
                                     [](const std::string& name) { return FetchPicture(name); });
    };
}

void ClearFetchedPictures()
{
    FetchedPictures().Clear();
}

std::string GetBrowserBodyText(const SHttpReply& reply)
{
    if (!reply.ok)
        return {};
    std::size_t start = 0;
    while (start < reply.body.size() && std::isspace(static_cast<unsigned char>(reply.body[start])))
        ++start;
    const std::string head = reply.body.substr(start, 64);
    const bool html = lf::sys::FoldCase(reply.contentType).find("html") != std::string::npos ||
                      StartsWithNoCase(head, "<!doctype html") || StartsWithNoCase(head, "<html");
    if (!html)
        return reply.body;
    lf::RichDocument page;
    lf::ImportHtml(reply.body, page, {});
    return lf::RichPlainText(page.content);
}

} // namespace lf::qt
