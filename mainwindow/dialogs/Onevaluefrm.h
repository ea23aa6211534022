// A modal dialog that asks for one line of text under a descriptive label, with Copy and Paste buttons.
// The link dialog builds on it; its Paste button is enabled only while the clipboard holds text.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class Tm_OneValueFrm;
}

class Tm_OneValueFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Tm_OneValueFrm(QWidget* owner = nullptr);
    ~Tm_OneValueFrm() override;

    // The longest value the line takes.
    static constexpr int kMaxValueLength = 200;

    Ui::Tm_OneValueFrm& Form() { return *ui; }
    void SetDescription(const QString& text);
    QString Value() const;
    void SetValue(const QString& value);

    // The clipboard changed; subclasses that add Paste buttons of their own enable them here too.
    virtual void ClipboardChanged();
    static bool ClipboardHasText();
    void m_CopyBtnClick();
    void m_PasteBtnClick();

protected:
    std::unique_ptr<Ui::Tm_OneValueFrm> ui;
};
