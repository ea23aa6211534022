// The score report of the open book as a rich-text document (heading, legend, bar chart and table per
// section, the date), the chart painted as a picture, and the score dialog's button layout.
#pragma once

#include "mainwindow/rules/ScoreChart.h"
#include "model/support/ModelTypes.h"
#include "platform/richtext/RichDocument.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

class CItemsArray2;

// Style numbers of the report's sheet.
namespace ScoreReport
{
constexpr int kNormalText = 0;
constexpr int kHeading = 1;
constexpr int kSubheading = 2;
constexpr int kErrorText = 6;
constexpr int kParaLeft = 0;
constexpr int kParaCentered = 1;
constexpr int kParaRight = 2;
// Background of the table row of all questions: RGB(255, 255, 187).
constexpr lf::RichColor kTotalRowColor = 0xBBFFFF;
} // namespace ScoreReport

// The report view's sheet: "Normal text", "Heading" (12 pt, bold, blue), "Subheading" (bold, black),
// "Keywords", "Jump 1", "Jump 2", "ErrorText" (bold, red), all Arial; paragraphs left, centred, right and
// a centred bordered one.
lf::RichStyleSheet ScoreReportStyles();

// The chart of the rows, painted at the layout's size.
QImage DrawScoreChart(const std::vector<SScoreInfo>& rows);
// Paints one bar segment in its two-tone colours, with its percentage when the segment is wider than it.
void DrawBarSegment(QImage& image, const SOneBarInfo& segment);

// The score rows the collection holds now.
std::vector<SScoreInfo> ReadScoreRows(const CItemsArray2& items);

// Fills the document with the report of the open book: the chapter filter's rows and, when the filter
// takes one chapter only, a second section over all chapters. bookFileName is the open book's file (its
// folder is left out); dateText follows "Date: ". When no score row results the document gets the error
// page instead and the answer is false.
bool BuildScoreReport(CItemsArray2& items, const std::string& bookFileName, const std::string& dateText,
                      lf::RichDocument& document);

// Captions and visibility of the score dialog's buttons.
struct SScoreButtons
{
    bool changed = false; // false in Edit phase: the form's own captions stay
    std::string continueCaption;
    std::string allCaption;
    std::string incorrectCaption;
    bool continueVisible = true;
    bool incorrectVisible = true;
};

// The buttons for a phase: Continue and All named after the phase
// and the next one; Incorrect only outside Flash, Cycle and Depth, and only when a row of the chapter
// filter has an incorrect answer; Continue hidden in Cycle mode once the sequence is empty.
SScoreButtons ScoreButtonsFor(CItemsArray2& items, EPhase phase);
