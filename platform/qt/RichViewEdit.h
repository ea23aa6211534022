// The rich-text editor: a RichView the user types into. Edits stay in Qt's document (with Qt's own
// undo) and are read back into the RichDocument whenever the document is asked for, with the styles
// of the sheet they were drawn in, or styles found or added for a new look.
#pragma once

#include "platform/qt/RichView.h"

#include <string>

namespace lf::qt
{

// The clipboard format in which editors hand content to each other: the stored XML form.
inline constexpr const char* kRichMimeType = "application/x-lernfold-richtext";

class RichViewEdit : public RichView
{
    Q_OBJECT

public:
    explicit RichViewEdit(QWidget* parent = nullptr);
    ~RichViewEdit() override;

    // Puts the caret at an item of the document's list: text offsets count bytes from 1 (before the
    // first character); other items take 0 (before) or 1 (after).
    void SetCaret(SRichPosition position);
    // Where the caret stands, in the same terms.
    SRichPosition Caret();
    // True when some content is selected.
    bool HasSelection() const;
    // The selection as a document in the editor's sheet (empty without a selection).
    RichDocument SelectionDocument();
    // Inserts plain text at the caret in the caret's style; line breaks start paragraphs.
    void InsertText(const std::string& text);
    // Inserts another document's content at the caret, its styles found or added in the sheet.
    void InsertDocument(const RichDocument& fragment);
    // Selects everything.
    void SelectAll();
    // Deletes everything as one editing step that Undo takes back.
    void ClearContent();

protected:
    void SyncModel() override;
    int ItemIndexAt(int position, const QTextCharFormat& format) const override;
    int TableIndexOf(const QTextTable& table) const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    SRichPosition ToRichPosition(int position, bool end) const;
    int ToTextPosition(SRichPosition position) const;
    // The last place of an item (or of a table) starting at or before a position, from the last reading.
    const SRichItemPlace* PlaceStartingBefore(int position, bool table) const;

    bool m_ModelStale = false;
    // Items of every list as last read back from the edits; they stand for the drawing of that number.
    std::vector<SRichItemPlace> m_Places;
    int m_PlacesDraw = -1;
};

} // namespace lf::qt
