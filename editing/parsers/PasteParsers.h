// The clipboard question parsers. Each reads the rich text the main window pasted into its hidden
// scratch editor and makes multiple-choice questions of the open book from it (one question; many
// questions with shared headers and passages; "Question #" exam blocks) or completes the book's
// questions with an answer key. They write one log line naming the step at which they stop; questions
// made or changed before such a stop stay in the book with their undo entries.
#pragma once

#include "model/support/Prefs.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CBaseItem;
class CItemsArray2;
namespace lf
{
class RichDocument;
}

// The grammar of the answer labels and of the explanation (the options of the same names).
struct SParserOptions
{
    int numberingType = CPrefs::kDefaultParserNumberingType;     // 0 "1", "2", ...; 1 "a", "b", ...
    int numberingFormat = CPrefs::kDefaultParserNumberingFormat; // 0 "x.", 1 "x)", 2 "(x)"
    bool feedbackExist = false;                                  // an explanation follows the last answer
    int feedbackSeparator = 0; // empty paragraphs that end the last answer (0..3; others never match)

    static SParserOptions FromPrefs(const CPrefs& prefs);
    // The label that opens answer n ("Error." where none can be made, which no text matches).
    std::string Label(int n) const;
};

// What the parsers work with: the open book's collection (new questions go in after its current
// question), the options, and where the answer-key parser's two notices go (the main window shows them;
// without a receiver they are only logged).
struct SPasteParseContext
{
    CItemsArray2& items;
    SParserOptions options;
    std::function<void(const std::string&)> showMessage;
};

// The outcome of a parse. `ok` is the parser's answer; `made` and `changed` count the questions it put
// into the book or changed there, which stay even when `ok` is false, so the caller refreshes its views
// whenever Touched() holds.
struct SParseResult
{
    bool ok = false;
    int made = 0;
    int changed = 0;

    bool Touched() const { return made > 0 || changed > 0; }
};

// One question: the leading number to LayersStr, the text up to label 1 as the question, each labelled
// paragraph an answer (bold label paragraphs right), and with the explanation option the text after the
// separating empty paragraphs as the explanation. `view` holds the pasted text. With `item` null a new
// question is made after the current one (one record-added undo entry); otherwise that item is filled
// (the preview's scratch question). ok when the question was made and every later step succeeded.
SParseResult ParseAndInsertQuestionFromClipboard(lf::RichDocument& view, CBaseItem* item,
                                                 const SPasteParseContext& context);

// Many numbered questions with their labelled answers (all stored as wrong), bold chapter and section
// headers, plain text shared by the following questions and italic passage instructions that name the
// questions a passage belongs to. `item`, when given, receives the first question; with `single` the
// parse ends after the first question. ok when a question was made and no step failed.
SParseResult ParseAndInsertQuestionsFromClipboard(lf::RichDocument& view, CBaseItem* item, bool single,
                                                  const SPasteParseContext& context);

// An answer key ("15. c. Because ...") stored as the explanations of the visible questions one after the
// other from the first, each number checked against the question's LayersStr and the lettered answer
// marked right. With `single` the caller's item receives the first description and the parse ends.
// ok when a description was stored and no step failed.
SParseResult ParseAndInsertDescriptionsFromClipboard(lf::RichDocument& view, CBaseItem* item, bool single,
                                                     const SPasteParseContext& context);

// Exam blocks "Question #12 Torts": number and chapter from that line, the question text, labelled answers
// each followed by its "Correct."/"Incorrect." paragraph, the whole answer block as the explanation.
// `item`, when given, receives the first block. ok when a question was made and no step failed.
SParseResult ParseAndInsertQuestionsMBEFromClipboard(lf::RichDocument& view, CBaseItem* item,
                                                     const SPasteParseContext& context);

// The lower-cased text begins with "chapter" or "passage", or, unless chaptersOnly, "section" or
// "all sections".
bool IsCommonHeader(const std::string& text, bool chaptersOnly);

// The questions a lower-cased instruction "use the following information to answer questions 5 through
// 7" names: both numbers ("... 12 and 13") or every number from the first to the second. False, with the
// numbers untouched, for a text that does not begin with the phrase; false, with the numbers emptied,
// when the two numbers cannot be read, are not above 0 or not in rising order.
bool GetPassageQuestionRange(const std::string& text, std::vector<std::int32_t>& numbers);
