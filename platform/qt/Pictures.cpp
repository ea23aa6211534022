#include "platform/qt/Pictures.h"

#include "platform/qt/QtText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cctype>
#include <optional>

namespace lf::qt
{

lf::SRichPicture ToPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), "png"};
}

namespace
{

// Colours of the answer pictures.
const QColor kFrame(0x5A, 0x6B, 0x7D);
const QColor kFace(Qt::white);
const QColor kChosen(0x2F, 0x6F, 0xD0);
const QColor kChosenFrame(0x1F, 0x4F, 0x9A);
const QColor kLetter(0x22, 0x30, 0x40);
const QColor kTickBadge(0x2E, 0x9E, 0x3E);

void DrawLetter(QPainter& painter, const QRectF& box, char letter, const QColor& color)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignCenter, QString(QChar::fromLatin1(letter)));
}

void DrawTick(QPainter& painter, const QPointF& a, const QPointF& b, const QPointF& c, qreal width)
{
    QPainterPath tick(a);
    tick.lineTo(b);
    tick.lineTo(c);
    painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}

QImage DrawAnswerPicture(int index)
{
    const bool round = index >= kRoundPictures;
    const int inRun = index % 20;
    const bool chosen = inRun >= 10;
    const int letterNo = inRun % 10; // 0: no letter, 1 to 9: "a" to "i"

    QImage image(kAnswerPictureSize, kAnswerPictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QRectF box(4.5, 4.5, 23, 23);
    const bool filled = chosen && (letterNo != 0 || !round);
    painter.setPen(QPen(chosen ? kChosenFrame : kFrame, 1.5));
    painter.setBrush(filled ? kChosen : kFace);
    if (round)
        painter.drawEllipse(box);
    else
        painter.drawRoundedRect(box, 3, 3);

    if (letterNo != 0)
    {
        // Beside the tick badge of a chosen square the letter moves up and left a little.
        const QRectF letterBox = chosen && !round ? box.adjusted(-1, -1.5, -3, -3.5) : box;
        DrawLetter(painter, letterBox, static_cast<char>('a' + letterNo - 1),
                   chosen ? QColor(Qt::white) : kLetter);
    }

    if (chosen && !round)
    {
        if (letterNo == 0)
            DrawTick(painter, {10, 16.5}, {14.5, 21}, {22.5, 11}, 3);
        else
        {
            // A lettered square keeps its letter; the tick sits on a badge at its corner.
            const QRectF badge(20, 20, 11.5, 11.5);
            painter.setPen(QPen(Qt::white, 1));
            painter.setBrush(kTickBadge);
            painter.drawEllipse(badge);
            DrawTick(painter, {23, 26}, {25, 28}, {28.5, 23.5}, 1.6);
        }
    }
    else if (chosen && round && letterNo == 0)
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kChosen);
        painter.drawEllipse(box.center(), 6, 6);
    }
    return image;
}

} // namespace

std::string PictureFormatOf(const std::string& path)
{
    const std::string ext = lf::sys::AsciiUpper(lf::sys::ExtensionOf(path));
    if (ext == ".JPG" || ext == ".JPEG")
        return "jpeg";
    if (ext == ".GIF")
        return "gif";
    if (ext == ".PNG")
        return "png";
    if (ext == ".BMP" || ext == ".DIB")
        return "bmp";
    if (ext == ".ICO")
        return "ico";
    return {};
}

std::string MissingPictureText(const std::string& name)
{
    return "File '" + name + "' is not exist!";
}

SPictureFile LoadPictureFile(const std::string& path)
{
    SPictureFile result;
    const QString qpath = ToQString(path);
    if (path.empty() || !QFileInfo(qpath).isFile())
    {
        result.error = MissingPictureText(path);
        return result;
    }
    const std::string format = PictureFormatOf(path);
    if (format.empty())
    {
        result.error = "Format '" + lf::sys::ExtensionOf(path) + "' is not supported!";
        return result;
    }
    QFile file(qpath);
    if (!file.open(QIODevice::ReadOnly))
    {
        result.error = ToStdString(file.errorString());
        return result;
    }
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // The extension chooses the reader; a file whose bytes are of another picture format still opens,
    // and is kept under the format it really has.
    const QByteArray detected = QImageReader::imageFormat(&buffer);
    QImageReader reader(&buffer, detected.isEmpty() ? QByteArray(format.c_str()) : detected);
    result.image = reader.read();
    if (result.image.isNull())
    {
        result.error = ToStdString(reader.errorString());
        return result;
    }
    result.picture.data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    result.picture.format = detected.isEmpty() ? format : detected.toLower().toStdString();
    if (result.picture.format == "jpg")
        result.picture.format = "jpeg";
    result.ok = true;
    return result;
}

QImage AnswerPicture(int index)
{
    if (index < 0 || index >= kAnswerPictureCount)
        return {};
    static std::array<QImage, kAnswerPictureCount> pictures;
    if (pictures[static_cast<std::size_t>(index)].isNull())
        pictures[static_cast<std::size_t>(index)] = DrawAnswerPicture(index);
    return pictures[static_cast<std::size_t>(index)];
}

lf::SRichPicture AnswerRichPicture(int index)
{
    if (index < 0 || index >= kAnswerPictureCount)
        return {};
    static std::array<std::optional<lf::SRichPicture>, kAnswerPictureCount> pictures;
    auto& picture = pictures[static_cast<std::size_t>(index)];
    if (!picture)
        picture = ToPng(AnswerPicture(index));
    return *picture;
}

int AnswerPictureIndex(int row, int base, bool chosen)
{
    const int run = base + (chosen ? 10 : 0);
    return row >= 0 && row < 9 ? run + row + 1 : run;
}

QImage LegendSquare(int index)
{
    static const QColor tones[kLegendSquareCount][2] = {
        {QColor(0, 187, 0), QColor(0, 170, 0)},
        {QColor(255, 255, 128), QColor(255, 255, 0)},
        {QColor(204, 0, 0), QColor(187, 0, 0)},
        {QColor(170, 170, 170), QColor(150, 150, 150)},
    };
    if (index < 0 || index >= kLegendSquareCount)
        return {};
    QImage image(kLegendSquareSize, kLegendSquareSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, kLegendSquareSize, kLegendSquareSize / 2, tones[index][0]);
    painter.fillRect(0, kLegendSquareSize / 2, kLegendSquareSize, kLegendSquareSize / 2, tones[index][1]);
    return image;
}

lf::SRichPicture LegendRichPicture(int index)
{
    const QImage square = LegendSquare(index);
    return square.isNull() ? lf::SRichPicture{} : ToPng(square);
}

namespace
{

QImage DecodePicture(const lf::SRichPicture& picture)
{
    QImage image;
    const QByteArray bytes =
        QByteArray::fromRawData(picture.data.data(), static_cast<qsizetype>(picture.data.size()));
    image.loadFromData(bytes, picture.format.empty() ? nullptr : picture.format.c_str());
    if (image.isNull()) // a format name that does not fit the bytes: let the reader look at them
        image.loadFromData(bytes);
    return image;
}

} // namespace

bool PictureRaster::NaturalSize(const lf::SRichPicture& picture, int& width, int& height) const
{
    const QImage image = DecodePicture(picture);
    if (image.isNull())
        return false;
    width = image.width();
    height = image.height();
    return true;
}

bool PictureRaster::Draw(const lf::SRichPicture& picture, int width, int height, lf::SRasterImage& out) const
{
    out = {};
    if (width <= 0 || height <= 0)
        return false;
    const QImage image = DecodePicture(picture);
    if (image.isNull())
        return false;
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        // Qt's smooth scaling averages the pixels a picture loses, as a halftone stretch does.
        QPainter painter(&canvas);
        painter.drawImage(0, 0, image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out.pixels[static_cast<std::size_t>(y) * width + x] = line[x] & 0xFFFFFFu;
    }
    return true;
}

} // namespace lf::qt
