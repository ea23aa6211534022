// Documents the rich-text widget tests show: one with every kind of item, and a long table.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <string>

namespace lf::test
{

// A picture's PNG bytes: a filled rectangle of one colour.
inline SRichPicture SolidPng(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), "png"};
}

// Items: 0 heading, 1 plain text, 2 jump text "Berlin" tagged, 3 plain text on a line break,
// 4 picture 60x40 (red), 5 hot picture 30x30 (blue) tagged, 6 a 3x2 table with coloured cells and
// hints, 7 a closing line.
inline RichDocument EveryKindDocument()
{
    RichDocument doc(RichStyleSheet::Default());
    auto& c = doc.content;
    c.AddText("What is the capital of Germany?", 1, 0);
    c.AddText("Read about ", 0, 0);
    c.AddText("Berlin", 4, 0, false).tag = "http://example.com/berlin";
    c.AddText("before you answer.", 3, 0, false).lineBreak = true;
    c.AddPicture(SolidPng(60, 40, QColor(220, 0, 0)), 60, 40, 1, true);
    c.AddPicture(SolidPng(30, 30, QColor(0, 0, 220)), 0, 0, 1, false, true).tag = "sound.mp3";
    RichTable table(3, 2);
    table.bestWidth = -100;
    table.borderWidth = 1;
    table.cellBorderWidth = 1;
    table.cellPadding = 4;
    const char* answers[3][2] = {{"a", "Hamburg"}, {"b", "Berlin"}, {"c", "Munich"}};
    for (int row = 0; row < 3; ++row)
    {
        for (int col = 0; col < 2; ++col)
        {
            SRichCell& cell = table.Cell(row, col);
            cell.content.AddText(answers[row][col], 0, 0);
            cell.vAlign = RichCellVAlign::Center;
        }
        table.Cell(row, 0).hint = std::to_string(row);
        table.Cell(row, 0).bestWidth = 40;
    }
    table.Cell(1, 0).color = 0x00C8FF; // answer colours: blue-green-red bytes
    table.Cell(1, 1).color = 0x00C8FF;
    table.Cell(2, 1).color = 0xFFCCCC;
    c.AddTable(std::move(table), "1", 0);
    c.AddText("The end.", 0, 0);
    return doc;
}

// A table of many one-line rows, for scrolling and speed.
inline RichDocument LongTableDocument(int rows)
{
    RichDocument doc(RichStyleSheet::Default());
    doc.content.AddText("Answers:", 0, 0);
    RichTable table(rows, 2);
    table.bestWidth = -100;
    for (int row = 0; row < rows; ++row)
    {
        table.Cell(row, 0).content.AddText(std::to_string(row + 1), 0, 0);
        table.Cell(row, 0).hint = std::to_string(row);
        table.Cell(row, 1).content.AddText("Answer text of row " + std::to_string(row + 1), 0, 0);
    }
    doc.content.AddTable(std::move(table), "1", 0);
    return doc;
}

} // namespace lf::test
