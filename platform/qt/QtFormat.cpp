#include "platform/qt/QtFormat.h"

#include <QGuiApplication>
#include <QPalette>

namespace lf::qt
{

namespace
{

QPalette::ColorRole SystemRole(std::uint32_t index)
{
    switch (index)
    {
    case 5: // window background
        return QPalette::Base;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 18: // button text
        return QPalette::ButtonText;
    default: // 8 window text, and whatever else
        return QPalette::WindowText;
    }
}

} // namespace

QColor ToQColor(std::uint32_t value)
{
    if ((value & 0x80000000u) != 0)
        return QGuiApplication::palette().color(SystemRole(value & 0xFFu));
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

std::uint32_t FromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
           (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

QFont ToQFont(const lf::SRichFieldFont& font)
{
    QFont result(QString::fromStdString(font.name));
    result.setPointSize(font.size > 0 ? font.size : 12);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    return result;
}

void FromQFont(const QFont& qfont, lf::SRichFieldFont& font)
{
    font.name = qfont.family().toStdString();
    if (qfont.pointSize() > 0)
        font.size = qfont.pointSize();
    font.bold = qfont.bold();
    font.italic = qfont.italic();
    font.underline = qfont.underline();
    font.strikeOut = qfont.strikeOut();
}

} // namespace lf::qt
