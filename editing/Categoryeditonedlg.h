// The chapter dialog: a chapter's name (at most 200 characters) and its information text, with Copy and
// Paste buttons for both; the Paste buttons are enabled only while the clipboard holds text. The caller
// fills the fields and the caption, and reads them back after OK; the dialog itself checks nothing.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace Ui
{
class m_CategoryEditOneDlg;
}

class Tm_CategoryEditOneDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    explicit Tm_CategoryEditOneDlg(QWidget* owner = nullptr);
    ~Tm_CategoryEditOneDlg() override;

    void SetCaption(const std::string& caption);
    void SetNameText(const std::string& name);
    void SetDescriptionText(const std::string& description);
    std::string NameText() const;
    std::string DescriptionText() const;

    // True when the clipboard holds plain text.
    static bool ClipboardHasText();
    // Enables the two Paste buttons exactly when the clipboard holds text; runs on every clipboard change.
    void OnClipboardChange();

    void m_CopyBtnClick();
    void m_Copy2BtnClick();
    void m_PasteBtnClick();
    void m_Paste2BtnClick();

    void reject() override;

private:
    std::unique_ptr<Ui::m_CategoryEditOneDlg> ui;
};
