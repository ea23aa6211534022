#include "editing/frames/Headerframe.h"

#include "ui_Headereditquestionframe.h"

#include "editing/frames/Recorderdlg.h"
#include "model/support/Folders.h"
#include "model/support/Prefs.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/TextCase.h"

#include <filesystem>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;

namespace
{

const char* const kSaveBookFirst =
    "We recommend keeping your files in the book folder or subfolders,\nto make it easy to find and share "
    "your "
    "study materials! \n\nPlease save the book first, and then select the image again.";
const char* const kKeepFilesBesideBook =
    "We recommend keeping your files in the book folder or subfolders,\nto make it easy to find and share "
    "books!\n\nPress Ignore that disable this message in future for current session.";

bool IsPictureName(const std::string& name)
{
    // The media names that are no sound or video are the picture formats the program shows.
    return IsMediaFileName(name) && !IsSoundOrVideoFile(name);
}

bool IsSoundOrVideoName(const std::string& name)
{
    return IsSoundOrVideoFile(name);
}

bool IsExistingFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

void RemoveFile(const std::string& path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
}

} // namespace

TCHeaderEditQuestionFrame::TCHeaderEditQuestionFrame(CPrefs& prefs, QWidget* parent)
    : TCBaseEditAnswerFrame(EEditFrame::Header, parent), m_Prefs(prefs),
      ui(std::make_unique<Ui::TCHeaderEditQuestionFrame>())
{
    ui->setupUi(this);
    TakeForm(ui->m_pViewPanel);
    SetGlyph(ui->m_pRecordBtn, "media-record", "Rec");
    connect(ui->m_pImageBtn, &QAbstractButton::clicked, this, [this] { m_pImageBtnClick(); });
    connect(ui->m_pVoiceBtn, &QAbstractButton::clicked, this, [this] { m_pVoiceBtnClick(); });
    connect(ui->m_pRecordBtn, &QAbstractButton::clicked, this, [this] { m_pRecordBtnClick(); });
}

TCHeaderEditQuestionFrame::~TCHeaderEditQuestionFrame() = default;

void TCHeaderEditQuestionFrame::SetQuestionContext(const std::string& bookFileName, const std::string& itemID)
{
    m_BookFileName = bookFileName;
    m_BookFolder = GetBookFolder(bookFileName);
    m_BookName = bookFileName.empty() ? std::string() : GetBookNameWithoutExt(bookFileName);
    // Only named here: the folder is made when a recording is written into it.
    m_MediaFolder = bookFileName.empty() ? std::string() : m_BookFolder + m_BookName + "/";
    m_ItemID = itemID;
}

QWidget* TCHeaderEditQuestionFrame::AltTarget(int digit) const
{
    switch (digit)
    {
    case 1:
        return ui->m_pQuestionNameStr;
    case 2:
        return ui->m_pImageStr;
    case 3:
        return ui->m_pVoiceStr;
    case 4:
        return ui->m_pDefaultQuestionGrade;
    case 5:
        return ui->m_pPenaltyFactor;
    default:
        return nullptr;
    }
}

void TCHeaderEditQuestionFrame::RunCommand(EFrameCommand command, int)
{
    if (command == EFrameCommand::PictureChoice)
        m_pImageBtnClick();
    else if (command == EFrameCommand::VoiceRecording)
        m_pRecordBtnClick();
    else if (command == EFrameCommand::MediaFileChoice)
        m_pVoiceBtnClick();
}

bool TCHeaderEditQuestionFrame::ChooseFile(const std::string& title, const std::string& folder,
                                           const std::string& filter, bool (*accepted)(const std::string&),
                                           std::string& path)
{
    if (m_BookFolder.empty())
    {
        lf::qt::MessageDlg(kSaveBookFirst, MsgKind::Warning, MsgButtons::Ok);
        return false;
    }
    lf::qt::SFileDialog dialog;
    dialog.owner = this;
    dialog.title = title;
    dialog.initialFolder = folder;
    dialog.filter = filter;
    const std::optional<std::string> chosen = lf::qt::CurrentDialogs().OpenFile(dialog);
    if (!chosen)
        return false;
    if (!accepted(*chosen))
    {
        const std::string extension = lf::sys::AsciiUpper(lf::sys::ExtensionOf(*chosen));
        lf::qt::MessageDlg("Format '" + extension + "' is not supported", MsgKind::Warning, MsgButtons::Ok);
        return false;
    }
    path = *chosen;
    return true;
}

std::string TCHeaderEditQuestionFrame::StoredName(const std::string& path)
{
    const std::string name = MakeRelativeMediaName(path, m_BookFileName);
    if (name == path && !m_Prefs.m_IgnoreMediaFolderWarning &&
        lf::qt::MessageDlg(kKeepFilesBesideBook, MsgKind::Warning, MsgButtons::OkIgnore) == lf::qt::mrIgnore)
        m_Prefs.m_IgnoreMediaFolderWarning = true;
    return name;
}

void TCHeaderEditQuestionFrame::m_pImageBtnClick()
{
    std::string path;
    if (!ChooseFile(
            "Select image", m_Prefs.GetBooksDirectory(),
            "Graphics(*.bmp;*.wmf;*.emf;*.ico;*.jpg;*.gif;*.png)|*.bmp;*.wmf;*.emf;*.ico;*.jpg;*.gif;*.png|"
            "All(*.*)|*.*",
            IsPictureName, path))
        return;
    ui->m_pImageStr->setText(lf::qt::ToQString(StoredName(path)));
}

void TCHeaderEditQuestionFrame::m_pVoiceBtnClick()
{
    std::string path;
    if (!ChooseFile({}, m_MediaFolder, "Audio(*.mp3;*.wav;*.ogg)|*.mp3;*.wav;*.ogg|Video(*.avi)|*.avi",
                    IsSoundOrVideoName, path))
        return;
    ui->m_pVoiceStr->setText(lf::qt::ToQString(StoredName(path)));
}

void TCHeaderEditQuestionFrame::m_pRecordBtnClick()
{
    if (m_BookFolder.empty())
    {
        lf::qt::MessageDlg(kSaveBookFirst, MsgKind::Warning, MsgButtons::Ok);
        return;
    }
    GetBookMediaFolder(m_BookFileName); // made to exist for the new recording
    std::string target = lf::qt::ToStdString(ui->m_pVoiceStr->text());
    ResolveMediaFileName(target, m_BookFileName);
    // A name made for this recording is the recording's alone: Cancel takes the file away again.
    const bool newName = !IsExistingFile(target);
    if (newName)
        target = MakeUniqueMediaFileName(m_MediaFolder, m_BookName, m_ItemID, m_RecordPrefix, m_RecordExt);
    int result = lf::qt::mrNone;
    {
        TCRecorderDlg recorder(this);
        recorder.SetFileName(target);
        result = lf::qt::CurrentDialogs().RunModal(recorder);
    }
    if (!IsExistingFile(target))
        return;
    switch (result)
    {
    case lf::qt::mrOk:
        ui->m_pVoiceStr->setText(lf::qt::ToQString(MakeRelativeMediaName(target, m_BookFileName)));
        break;
    case lf::qt::mrCancel:
        if (newName)
            RemoveFile(target);
        break;
    case lf::qt::mrNo: // the recorder's Delete
        RemoveFile(target);
        ui->m_pVoiceStr->clear();
        break;
    default:
        break;
    }
}
