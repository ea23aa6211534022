#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace lf;
using lf::qt::RichViewEdit;

namespace
{

struct SRun
{
    std::string text;
    int styleNo;
    bool newParagraph;
    friend bool operator==(const SRun&, const SRun&) = default;
    friend std::ostream& operator<<(std::ostream& out, const SRun& run)
    {
        return out << '"' << run.text << "\" style " << run.styleNo
                   << (run.newParagraph ? " new paragraph" : "");
    }
};

std::vector<SRun> Runs(const RichDocument& doc)
{
    std::vector<SRun> runs;
    for (const SRichItem& item : doc.content.items)
        runs.push_back({item.text, item.styleNo, item.newParagraph});
    return runs;
}

class RichViewEditTest : public ::testing::Test
{
protected:
    // "Hello " in Normal text, "world" in Keywords (3), "!" in Normal text, one paragraph.
    void SetUp() override
    {
        RichDocument& doc = editor.Document();
        doc.content.AddText("Hello ", 0, 0);
        doc.content.AddText("world", 3, 0, false);
        doc.content.AddText("!", 0, 0, false);
        editor.resize(400, 300);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        editor.Format();
        editor.setFocus();
        sheetSize = doc.styles.TextStyleCount();
    }

    void Keys(const char* text) { QTest::keyClicks(&editor, QString::fromUtf8(text)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&editor, key, modifiers);
    }

    RichViewEdit editor;
    int sheetSize = 0;
};

} // namespace

TEST_F(RichViewEditTest, TypingDeletingAndPastingBecomeItemsInTheSheetsStyles)
{
    // Typing at the start of a run writes in that run's style.
    editor.SetCaret({1, 1});
    Keys("big ");
    EXPECT_EQ(Runs(editor.Document()),
              (std::vector<SRun>{{"Hello ", 0, true}, {"big world", 3, false}, {"!", 0, false}}));

    // Deleting across the style boundary: "lo " of the first run and "big" of the second.
    editor.SetCaret({0, 4});
    Key(Qt::Key_Right, Qt::ShiftModifier, 6);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Runs(editor.Document()),
              (std::vector<SRun>{{"Hel", 0, true}, {" world", 3, false}, {"!", 0, false}}));

    // Pasting a fragment from another editor's sheet: "Heading" is found, the red style is added.
    RichDocument fragment(RichStyleSheet::Default());
    SRichTextStyle red;
    red.color = 0x0000FF;
    red.bold = true;
    red.standard = false;
    const int redNo = fragment.styles.FindOrAddTextStyle(red);
    fragment.content.AddText("Big", 1, 0);
    fragment.content.AddText(" red", redNo, 0, false);
    auto* mime = new QMimeData;
    const std::string xml = WriteRichXml(fragment);
    mime->setData(qt::kRichMimeType, QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    mime->setText("Big red");
    QApplication::clipboard()->setMimeData(mime);
    editor.SetCaret({2, 1});
    Key(Qt::Key_V, Qt::ControlModifier);
    const std::vector<SRun> pasted{{"Hel", 0, true},
                                   {" world", 3, false},
                                   {"Big", 1, false},
                                   {" red", sheetSize, false},
                                   {"!", 0, false}};
    EXPECT_EQ(Runs(editor.Document()), pasted);
    ASSERT_EQ(editor.Document().styles.TextStyleCount(), sheetSize + 1);
    EXPECT_EQ(editor.Document().styles.textStyles[sheetSize].color, 0x0000FFu);

    // A second paste of the same look adds no style.
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.Document().styles.TextStyleCount(), sheetSize + 1);
    EXPECT_EQ(editor.Document().content.items[4].text, "Big");

    // The stored text holds exactly what was typed, in those styles.
    std::string stored;
    ASSERT_TRUE(GetXMLFormRE(stored, editor.Document()));
    RichDocument reread;
    ASSERT_EQ(ReadRichXml(stored, reread), RichXmlResult::Loaded);
    EXPECT_EQ(Runs(reread), (std::vector<SRun>{{"Hel", 0, true},
                                               {" world", 3, false},
                                               {"Big", 1, false},
                                               {" red", sheetSize, false},
                                               {"Big", 1, false},
                                               {" red", sheetSize, false},
                                               {"!", 0, false}}));
    EXPECT_EQ(reread.styles, editor.Document().styles);
}

// Undo takes back one user step at a time: a paste, a deletion, a run of typing.
TEST_F(RichViewEditTest, UndoTakesBackEditsStepByStep)
{
    const std::vector<SRun> start = Runs(editor.Document());
    editor.SetCaret({2, 1});
    Keys("abc");
    RichDocument fragment(RichStyleSheet::Default());
    fragment.content.AddText("inserted", 2, 0);
    fragment.content.AddText("second line", 0, 0);
    editor.InsertDocument(fragment);
    const std::vector<SRun> afterInsert = Runs(editor.Document());
    EXPECT_EQ(afterInsert, (std::vector<SRun>{{"Hello ", 0, true},
                                              {"world", 3, false},
                                              {"abc", 0, false},
                                              {"inserted", 2, false},
                                              {"second line", 0, true},
                                              {"!", 0, false}}));

    editor.ClearContent();
    EXPECT_TRUE(editor.Document().Empty() || IsRichViewEmpty(editor.Document()));
    editor.undo();
    EXPECT_EQ(Runs(editor.Document()), afterInsert);
    editor.undo();
    EXPECT_EQ(Runs(editor.Document()),
              (std::vector<SRun>{{"Hello ", 0, true}, {"world", 3, false}, {"abc!", 0, false}}));
    editor.undo();
    EXPECT_EQ(Runs(editor.Document()), start);
    // A new content starts a new history.
    editor.Format();
    EXPECT_FALSE(editor.document()->isUndoAvailable());
}

TEST_F(RichViewEditTest, CaretAndSelectionCountBytesOfTheItems)
{
    RichDocument& doc = editor.Document();
    doc.content.Clear();
    doc.content.AddText("Grüße ", 0, 0);
    doc.content.AddText("aus", 1, 0, false);
    doc.content.AddText("Köln", 0, 0);
    editor.Format();
    struct Case
    {
        SRichPosition at;
        int qtPosition;
    };
    for (const Case c : {Case{{0, 1}, 0}, Case{{0, 5}, 3}, Case{{0, 8}, 5}, Case{{1, 1}, 6}, Case{{1, 4}, 9},
                         Case{{2, 1}, 10}, Case{{2, 6}, 14}})
    {
        editor.SetCaret(c.at);
        EXPECT_EQ(editor.textCursor().position(), c.qtPosition) << c.at.item << ":" << c.at.offset;
        EXPECT_EQ(editor.Caret(), c.at) << c.at.item << ":" << c.at.offset;
    }

    EXPECT_FALSE(editor.HasSelection());
    std::string xml;
    EXPECT_FALSE(RichSelectionToXML(editor.Document(), xml, false, false));
    // "ße aus Kö" across three runs and a paragraph.
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(3);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    ASSERT_TRUE(editor.HasSelection());
    EXPECT_EQ(Runs(editor.SelectionDocument()),
              (std::vector<SRun>{{"ße ", 0, true}, {"aus", 1, false}, {"Kö", 0, true}}));
    ASSERT_TRUE(RichSelectionToXML(editor.Document(), xml, false, false));
    RichDocument copied;
    ASSERT_EQ(ReadRichXml(xml, copied), RichXmlResult::Loaded);
    EXPECT_EQ(Runs(copied), Runs(editor.SelectionDocument()));

    editor.SelectAll();
    EXPECT_EQ(Runs(editor.SelectionDocument()), Runs(editor.Document()));
}

TEST_F(RichViewEditTest, InsertedTextTakesTheCaretsStyleAndStartsParagraphsAtLineBreaks)
{
    editor.SetCaret({1, 3});
    editor.InsertText("X\r\nY\nZ");
    EXPECT_EQ(
        Runs(editor.Document()),
        (std::vector<SRun>{
            {"Hello ", 0, true}, {"woX", 3, false}, {"Y", 3, true}, {"Zrld", 3, true}, {"!", 0, false}}));
    for (const SRichItem& item : editor.Document().content.items)
        EXPECT_EQ(item.paraNo, 0);
}

// The zoom step draws bigger text, and what is typed under it is stored at the sheet's sizes.
TEST_F(RichViewEditTest, TypingUnderZoomKeepsTheStoredSizes)
{
    editor.SetZoomStep(4);
    editor.SetCaret({1, 6});
    Keys("s");
    EXPECT_EQ(editor.currentCharFormat().fontPointSize(), editor.Document().styles.textStyles[3].size + 4);
    EXPECT_EQ(Runs(editor.Document()),
              (std::vector<SRun>{{"Hello ", 0, true}, {"worlds", 3, false}, {"!", 0, false}}));
    EXPECT_EQ(editor.Document().styles.TextStyleCount(), sheetSize);
    editor.SetZoomStep(0);
    EXPECT_EQ(Runs(editor.Document())[1], (SRun{"worlds", 3, false}));
}

// Edits renumber items; a hit test names them as the document now has them, in cells too.
TEST_F(RichViewEditTest, HitTestsNameItemsAsEditedNow)
{
    RichDocument& doc = editor.Document();
    RichTable table(1, 1);
    table.Cell(0, 0).content.AddText("one", 0, 0);
    table.Cell(0, 0).content.AddText("two", 1, 0);
    doc.content.AddTable(std::move(table), "t", 0);
    editor.Format();
    editor.SetCaret({0, 1});
    Key(Qt::Key_Return); // "Hello " moves to item 1 behind a new empty paragraph
    QTextCursor inCell(editor.document());
    inCell.setPosition(editor.document()->find("two").selectionStart());
    editor.setTextCursor(inCell);
    Key(Qt::Key_Return); // an empty paragraph in front of "two" in the cell

    auto centreOf = [&](const char* text)
    {
        const QTextCursor found = editor.document()->find(QString::fromLatin1(text));
        QTextCursor middle(editor.document());
        middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
        return editor.cursorRect(middle).center();
    };
    const qt::SRichHit hello = editor.HitTest(centreOf("Hello"));
    EXPECT_EQ(hello.item, 1);
    EXPECT_EQ(hello.table, -1);
    EXPECT_EQ(editor.Document().content.items[1].text, "Hello ");
    const qt::SRichHit two = editor.HitTest(centreOf("two"));
    EXPECT_EQ(two.row, 0);
    EXPECT_EQ(two.item, 2);
    EXPECT_EQ(two.table, 4);
    ASSERT_TRUE(editor.Document().content.items[4].IsTable());
    EXPECT_EQ(editor.Document().content.items[4].table->Cell(0, 0).content.items[2].text, "two");
}
