#include "mainwindow/Helpfrm.h"

#include "platform/qt/RichView.h"
#include "platform/richtext/RichXml.h"
#include "ui_Helpfrm.h"

#include <QTextCursor>

#include <fstream>
#include <sstream>

Tm_pHelpFrm::Tm_pHelpFrm(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::Tm_pHelpFrm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    m_View = new lf::qt::RichView(this);
    m_View->setObjectName("m_pRichView");
    m_View->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->m_pViewLayout->addWidget(m_View);
    connect(ui->m_pCloseBtn, &QPushButton::clicked, this, [this] { m_pCloseBtnClick(); });
}

Tm_pHelpFrm::~Tm_pHelpFrm() = default;

bool Tm_pHelpFrm::LoadPage(const std::string& path)
{
    lf::RichDocument& doc = m_View->Document();
    doc = lf::RichDocument();
    std::ifstream file(path, std::ios::binary);
    bool loaded = false;
    if (file)
    {
        std::ostringstream text;
        text << file.rdbuf();
        loaded = lf::ReadRichXml(text.str(), doc) == lf::RichXmlResult::Loaded;
    }
    m_View->Format();
    // A page is read from its top.
    m_View->moveCursor(QTextCursor::Start);
    m_View->SetVScrollPos(0);
    return loaded;
}

std::string HelpPageOfPhase(std::uint8_t phase)
{
    switch (phase)
    {
    case 0:
        return "Test.rvf";
    case 1:
        return "Review.rvf";
    case 2:
        return "Flash.rvf";
    case 3:
        return "Edit.rvf";
    default:
        return "Tutorial.rvf";
    }
}

std::string HelpPagePath(const std::string& folder, const std::string& page)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "Help/" + page;
}
