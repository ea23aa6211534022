// Delimited text: spreadsheet CSV, Quizlet text and FlashCardExchange tab-separated files in and out, the
// question rows of those files and of pasted spreadsheet tables, the line splitters and field writers, and
// the copies of selected questions for spreadsheets and flash-card sites. Every row is a multiple-choice
// question; only multiple-choice questions go out.
#pragma once

#include "interchange/ExchangeContext.h"
#include "model/support/Array.h"

#include <cstdint>
#include <string>

class CBaseItem;
class CItemsArray2;

namespace lf
{
class RichDocument;
}

// --- Splitters ---

// Appends the fields of one delimited line to fields. A field that starts with a double quote runs to the
// next single quote ("" inside it stands for one quote) and may hold the separator; what stands between
// its closing quote and the next separator is dropped. A separator at the end adds no empty field. False,
// logged, without fields, for an empty separator, and when text after a closing quote holds no separator
// (the fields found so far stay).
bool ParceCSVLine(const std::string& line, const std::string& separator, CStringArray* fields);

// ParceCSVLine over a list of lines: a quoted field without its closing quote on the line goes on over
// the following lines, joined by CR LF. index moves to the line where the last field ended; the caller
// goes on with the line after it.
bool ParceCSVLine2(const std::string& line, const CStringArray& lines, std::int32_t& index,
                   const std::string& separator, CStringArray* fields);

// The text of a file as UTF-8 (without a byte-order mark; a file that is not valid UTF-8 is read as
// Windows-1252). False when the file cannot be read.
bool ReadTextFile(const std::string& fileName, std::string& text);

// --- Field writers (each appends the separator first unless first, then the field) ---

// The plain text of the stored text; quoted (quotes doubled) when it holds the separator, a CR, an LF or
// a quote; with a tab separator, tabs become four blanks.
void AppendCSVField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                    lf::RichDocument& view);
// The plain text with its line breaks as blanks (a CR LF pair gives two); never quoted.
void AppendPlainField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                      lf::RichDocument& view);
// The plain text with LF line breaks; quoted (quotes doubled) when it holds the separator, an LF or a quote.
void AppendExcelField(const std::string& stored, std::string& line, const std::string& separator, bool first,
                      lf::RichDocument& view);

// The stored text of the answer a delimited line carries: the first credited answer with text, else the
// first credited one (FindShownCreditedAnswer); empty when none is credited.
std::string DelimitedAnswerText(CBaseItem* item);

// --- Rows ---

// A question of kind from 2 to 5 fields (question, the one correct answer, explanation) inserted at
// position (appended when negative or past the end), the book marked modified, with a record-added undo
// entry when recordUndo. Null for fewer than 2 fields or a kind outside 1..10.
CBaseItem* AddQuestionFromFields(const CStringArray& fields, CItemsArray2* items, int kind,
                                 std::int32_t position, bool recordUndo);
// A question from a spreadsheet row of 14 or 15 columns: chapter number, question, five answers with their
// correct flags, explanation and (15 columns) chapter name, a chapter of that name added once when missing.
// Null for fewer than 14 columns.
CBaseItem* AddQuestionFromExcelRow(const CStringArray& fields, CItemsArray2* items, int kind,
                                   std::int32_t position, bool recordUndo);

// --- Files and clipboard ---

enum class EDelimitedFormat
{
    Csv = 0,              // quoted fields may run over lines
    QuizletText = 1,      // one line per question
    FlashCardExchange = 2 // records end at a bare LF; CR LF inside a record shows as the text "\r\n"
};

// Appends a question for every row of the file to items (emptied first with clearFirst). True when at
// least one row made a question.
bool LoadDelimitedText(EDelimitedFormat format, const std::string& fileName, CItemsArray2* items,
                       const std::string& separator, bool clearFirst, const SExchangeContext& context);

// The name SaveDelimitedText writes under: ".csv" appended unless keepName or the name ends in ".txt" or
// ".csv" (any case).
std::string DelimitedTextFileName(const std::string& fileName, bool keepName);
// Writes one line per multiple-choice question of items that is neither deleted nor in the Trash:
// question, answer and, when asked, the explanation, as CSV fields (csv) or plain fields. ".csv" is
// appended unless keepName or the name ends in ".txt" or ".csv" (any case). False for an empty name,
// nothing to write or a failed write; an old file stays whole in every failure.
bool SaveDelimitedText(bool csv, const std::string& fileName, CItemsArray2* items,
                       const std::string& separator, bool withExplanation, bool keepName,
                       const SExchangeContext& context);

// Puts the lines of the multiple-choice questions shown and selected in the question list on the
// clipboard, as spreadsheet fields (excel) or plain fields. False, clipboard untouched, when a list row
// has no question.
bool CopySelectionToClipboard(bool excel, CItemsArray2* items, const std::string& separator,
                              bool withExplanation, const SExchangeContext& context);
