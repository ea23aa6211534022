// What the quiz-file tests share: a book environment with a hidden view, and short ways to read a quiz
// text into a book and to see the plain text of a stored text.
#pragma once

#include "interchange/MoodleXml.h"
#include "model/Datatypes_Kinds.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "tests/model/BookBuilder.h"

#include <memory>
#include <string>

namespace lf::test
{

struct QuizFixture
{
    QuizFixture() { book->Clear(); }

    // Writes the quiz text to a file and reads it into book; the reader's result.
    bool Read(const std::string& xml, const std::string& name = "quiz.xml")
    {
        WriteFile(dir.file(name), xml);
        return LoadMoodleXML(dir.file(name), book.get(), false, Context());
    }

    SExchangeContext Context() { return SExchangeContext{nullptr, nullptr, &view}; }

    std::string Plain(const std::string& stored)
    {
        lf::RichDocument scratch;
        std::string out;
        GetPlainTextFromXML(stored, scratch, out, false);
        return out;
    }

    CBaseItem* Item(std::int32_t i) const { return book->GetItem(i); }

    BookEnvironment env;
    TempDir dir;
    lf::RichDocument view;
    std::unique_ptr<CItemsArray2> book = std::make_unique<CItemsArray2>();
};

// A stored rich text with a line of text and a PNG picture of the given bytes.
inline std::string StoredTextWithPicture(const std::string& text, const std::string& pictureBytes)
{
    lf::RichDocument doc;
    doc.styles.textStyles.resize(1);
    doc.styles.paraStyles.resize(1);
    doc.content.AddText(text, 0, 0);
    doc.content.AddPicture(lf::SRichPicture{pictureBytes, "png"}, 10, 10, 0, false);
    return lf::WriteRichXml(doc);
}

// A quiz of the given questions.
inline std::string Quiz(const std::string& questions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + questions + "</quiz>\n";
}

} // namespace lf::test
