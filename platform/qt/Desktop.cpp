#include "platform/qt/Desktop.h"

#include "platform/qt/QtText.h"
#include "platform/sys/SystemServices.h"

#include <QApplication>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace lf::qt
{

namespace
{

bool g_commandRunning = false;

// A web or mail address as a URL; anything else is a local path.
QUrl ShellUrl(const std::string& pathOrUrl)
{
    const QString text = ToQString(pathOrUrl);
    if (text.contains(QLatin1String("://")) || text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return QUrl(text);
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QLatin1String("http://") + text);
    return QUrl::fromLocalFile(text);
}

class QtDesktop final : public Desktop
{
public:
    void SetBusyCursor(bool busy) override
    {
        if (busy)
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            ++m_busy;
        }
        else if (m_busy > 0)
        {
            QApplication::restoreOverrideCursor();
            --m_busy;
        }
    }

    void Beep() override { QApplication::beep(); }

    void ProcessEvents() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

    void Sleep(int milliseconds) override { lf::sys::Services().Sleep(milliseconds); }

    void OpenWithShell(const std::string& pathOrUrl) override
    {
        if (!pathOrUrl.empty())
            QDesktopServices::openUrl(ShellUrl(pathOrUrl));
    }

    void PlayFile(const std::string& path, QObject* videoOutput) override
    {
        QMediaPlayer* player = Player();
        if (player == nullptr)
            return;
        player->stop();
        player->setVideoOutput(videoOutput);
        player->setSource(QUrl::fromLocalFile(QFileInfo(ToQString(path)).absoluteFilePath()));
        player->play(); // errors arrive later and are swallowed, as the player's callers expect
    }

    void StopPlaying() override
    {
        if (m_player)
            m_player->stop();
    }

private:
    // One player for the program, owned by the application so it goes before Qt does.
    QMediaPlayer* Player()
    {
        if (!m_player && QCoreApplication::instance() != nullptr)
        {
            m_player = new QMediaPlayer(QCoreApplication::instance());
            m_player->setAudioOutput(new QAudioOutput(m_player));
        }
        return m_player;
    }

    int m_busy = 0;
    QPointer<QMediaPlayer> m_player;
};

Desktop* g_desktop = nullptr;

} // namespace

Desktop::~Desktop() = default;

Desktop& CurrentDesktop()
{
    static QtDesktop real;
    return g_desktop != nullptr ? *g_desktop : real;
}

void SetDesktop(Desktop* desktop)
{
    g_desktop = desktop;
}

void OpenWithShell(const std::string& pathOrUrl)
{
    CurrentDesktop().OpenWithShell(pathOrUrl);
}

CommandGuard::CommandGuard() : m_entered(!g_commandRunning)
{
    if (m_entered)
        g_commandRunning = true;
}

CommandGuard::~CommandGuard()
{
    if (m_entered)
        g_commandRunning = false;
}

bool CommandGuard::Running()
{
    return g_commandRunning;
}

CommandGuardSuspend::CommandGuardSuspend() : m_saved(g_commandRunning)
{
    g_commandRunning = false;
}

CommandGuardSuspend::~CommandGuardSuspend()
{
    g_commandRunning = m_saved;
}

} // namespace lf::qt
