#include "platform/qt/Desktop.h"
#include "platform/qt/EventRules.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

namespace
{

using lf::qt::CommandGuard;

TEST(CommandGuard, SecondCommandIsRefusedUntilTheFirstEndsOrAModalWindowSuspendsIt)
{
    {
        CommandGuard first;
        ASSERT_TRUE(first);
        CommandGuard second;
        EXPECT_FALSE(second);
        {
            lf::qt::CommandGuardSuspend modal;
            CommandGuard insideTheModalWindow;
            EXPECT_TRUE(insideTheModalWindow);
        }
        EXPECT_TRUE(CommandGuard::Running());
        CommandGuard third;
        EXPECT_FALSE(third);
    }
    EXPECT_FALSE(CommandGuard::Running());
    CommandGuard next;
    EXPECT_TRUE(next);
}

// Receives the shell's requests instead of the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST(QtDesktop, ShellOpensAddressesAsTheyAreAndPathsAsFiles)
{
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    lf::qt::OpenWithShell("https://example.org/a?b=1");
    lf::qt::OpenWithShell("mailto:support@example.org");
    lf::qt::OpenWithShell("www.example.org");
    lf::qt::OpenWithShell("/home/u/Books/Bio.lnf");
    lf::qt::OpenWithShell("");
    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(catcher.urls.size(), 4u);
    EXPECT_EQ(catcher.urls[0].toString(), "https://example.org/a?b=1");
    EXPECT_EQ(catcher.urls[1].toString(), "mailto:support@example.org");
    EXPECT_EQ(catcher.urls[2].toString(), "http://www.example.org");
    EXPECT_EQ(catcher.urls[3].toLocalFile(), "/home/u/Books/Bio.lnf");
}

TEST(QtDesktop, BusyCursorComesBackAlsoWhenNested)
{
    {
        lf::qt::BusyCursor outer;
        {
            lf::qt::BusyCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtDesktop, ProcessingEventsRunsPostedWork)
{
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    lf::qt::CurrentDesktop().ProcessEvents();
    EXPECT_TRUE(ran);
}

TEST(EventRules, ControlsChangedFromCodeRunOnlyTheHandlersTheWindowsRelyOn)
{
    QComboBox combo;
    combo.addItems({"All", "Marked", "Incorrect"});
    QCheckBox box;
    int comboRuns = 0, clicks = 0, toggles = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] { ++comboRuns; });
    QObject::connect(&box, &QCheckBox::clicked, [&] { ++clicks; });
    QObject::connect(&box, &QCheckBox::toggled, [&] { ++toggles; });

    lf::qt::SetComboIndexQuietly(&combo, 2);
    lf::qt::SetComboTextQuietly(&combo, "Marked");
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(comboRuns, 0);

    box.setEnabled(false);
    lf::qt::SetCheckedWithClick(&box, true);
    lf::qt::SetCheckedWithClick(&box, true); // no change, no click
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(clicks, 1);
    lf::qt::SetCheckedQuietly(&box, false);
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(toggles, 1);
}

TEST(EventRules, ScopedFlagRestoresTheOldValue)
{
    int updating = 0;
    {
        lf::qt::ScopedFlag outer(updating);
        {
            lf::qt::ScopedFlag inner(updating);
        }
        EXPECT_EQ(updating, 1); // the inner scope leaves the outer update running
    }
    EXPECT_EQ(updating, 0);
}

// A receiver with two handlers that count, in counters kept outside it, how often each runs.
class BoundReceiver : public QObject
{
public:
    explicit BoundReceiver(int (&counts)[2]) : m_counts(counts) {}
    void First() { ++m_counts[0]; }
    void Second() { ++m_counts[1]; }

private:
    int (&m_counts)[2];
};

TEST(EventRules, ActionBinderRunsTheBoundHandlerWhileTheReceiverLives)
{
    QAction one;
    QAction two;
    QAction checkable;
    checkable.setCheckable(true);
    int counts[2] = {0, 0};
    auto receiver = std::make_unique<BoundReceiver>(counts);
    const auto bind = lf::qt::ActionBinder(receiver.get());
    bind(&one, &BoundReceiver::First);
    bind(&two, &BoundReceiver::Second);
    bind(&checkable, &BoundReceiver::Second);

    one.trigger();
    one.trigger();
    two.trigger();
    checkable.trigger(); // a checkable action runs the same handler, its state left out
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 2);

    receiver.reset();
    one.trigger(); // the connections went with the receiver
    checkable.trigger();
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 2);
}

} // namespace

#include "DesktopTest.moc"
