// The help window: one help page in a read-only rich-text view, created at start and kept, so it holds
// the last page loaded into it until the next load.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

namespace Ui
{
class Tm_pHelpFrm;
}
namespace lf::qt
{
class RichView;
}

class Tm_pHelpFrm final : public QDialog
{
    Q_OBJECT

public:
    explicit Tm_pHelpFrm(QWidget* owner = nullptr);
    ~Tm_pHelpFrm() override;

    lf::qt::RichView& m_pRichView() { return *m_View; }
    // Replaces the page with the document stored in the file; a missing or unreadable file leaves the
    // window empty. False when nothing was loaded.
    bool LoadPage(const std::string& path);
    void m_pCloseBtnClick() { done(1); }

protected:
    void reject() override { done(1); }

private:
    std::unique_ptr<Ui::Tm_pHelpFrm> ui;
    lf::qt::RichView* m_View = nullptr;
};

// The help page of a phase (0 Test, 1 Review, 2 Flash, 3 Edit); the tutorial for any other.
std::string HelpPageOfPhase(std::uint8_t phase);
// "<folder>/Help/<page>", with the separator added when the folder does not end in one.
std::string HelpPagePath(const std::string& folder, const std::string& page);
