// The frame above the question text in the Moodle question style: the question's name, its picture and
// media file with the commands that choose them or record a voice note, the default grade and the
// penalty. The picture, media and recording commands store names relative to the book where they can.
#pragma once

#include "editing/frames/Baseeditanswerframe.h"

#include <memory>
#include <string>

class CPrefs;

namespace Ui
{
class TCHeaderEditQuestionFrame;
}

class TCHeaderEditQuestionFrame final : public TCBaseEditAnswerFrame
{
    Q_OBJECT

public:
    // prefs gives the books folder and the run's "ignore the folder warning" choice.
    explicit TCHeaderEditQuestionFrame(CPrefs& prefs, QWidget* parent = nullptr);
    ~TCHeaderEditQuestionFrame() override;
    Ui::TCHeaderEditQuestionFrame& Form() const { return *ui; }

    // Sets the texts below from the open book's file name (empty for a book never saved) and the current
    // question's ID; the main window calls it every time it loads the question pane.
    void SetQuestionContext(const std::string& bookFileName, const std::string& itemID);

    std::string m_BookFileName;
    std::string m_BookFolder;  // folder of the book's file, ending in "/"; empty for an unsaved book
    std::string m_MediaFolder; // the book's path without its extension, plus "/"
    std::string m_BookName;    // the book's file name without folder and extension
    std::string m_ItemID;
    std::string m_RecordPrefix = "q";
    std::string m_RecordExt = ".wav";

    // The commands of the "..." and record buttons (also Ctrl+1, Ctrl+3 and Ctrl+2).
    void m_pImageBtnClick();
    void m_pVoiceBtnClick();
    void m_pRecordBtnClick();

protected:
    QWidget* AltTarget(int digit) const override;
    void RunCommand(EFrameCommand command, int slot) override;

private:
    // The name a chosen file is stored under; warns (once per run, unless ignored) about a file outside
    // the book's folders.
    std::string StoredName(const std::string& path);
    // A picture or media choice: the refusal of an unsaved book, the open dialog, the extension check.
    bool ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                    bool (*accepted)(const std::string&), std::string& path);

    CPrefs& m_Prefs;
    std::unique_ptr<Ui::TCHeaderEditQuestionFrame> ui;
};
