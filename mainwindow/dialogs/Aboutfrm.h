// The about box: the version, the support e-mail address and the home page, both of which open in the
// desktop's programs when clicked.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui
{
class TCAboutFrm;
}

// The addresses are settings of the build (LF_SUPPORT_EMAIL, LF_HOME_PAGE).
std::string SupportEmailAddress();
std::string HomePageAddress();

class TCAboutFrm final : public QDialog
{
    Q_OBJECT

public:
    explicit TCAboutFrm(QWidget* owner = nullptr);
    ~TCAboutFrm() override;

    Ui::TCAboutFrm& Form() { return *ui; }
    void FormShow();
    void m_EmailStrClick();
    void m_WebSiteStrClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    std::unique_ptr<Ui::TCAboutFrm> ui;
};
