#include "platform/qt/HttpClient.h"
#include "tests/support/qt/LoopbackServer.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace
{

using lf::qt::HttpClient;
using lf::qt::SHttpReply;

using lf::test::LoopbackServer;

struct Outcome
{
    std::optional<SHttpReply> finished, error;
    int calls = 0;
};

Outcome GetAndWait(const std::string& url, int timeoutMs)
{
    Outcome outcome;
    HttpClient client;
    client.Get(
        url, timeoutMs,
        [&](const SHttpReply& r)
        {
            outcome.finished = r;
            ++outcome.calls;
        },
        [&](const SHttpReply& r)
        {
            outcome.error = r;
            ++outcome.calls;
        });
    EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.calls > 0; }, 10000));
    QTest::qWait(20); // no second callback
    return outcome;
}

TEST(HttpClient, ReadsTheBodyAndAsksPastAnyCache)
{
    const QByteArray body = "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;";
    LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    const Outcome outcome = GetAndWait(server.Url(), 5000);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_TRUE(outcome.finished->ok);
    EXPECT_EQ(outcome.finished->status, 200);
    EXPECT_EQ(outcome.finished->body, body.toStdString());
    EXPECT_EQ(outcome.finished->contentType, "text/plain");
    EXPECT_TRUE(server.request.startsWith("GET /version.txt HTTP/1.1\r\n"));
    EXPECT_TRUE(server.request.contains("Cache-Control: no-cache\r\n"));
}

TEST(HttpClient, ErrorStatusRefusedConnectionAndSilenceGoToTheErrorCallback)
{
    LoopbackServer missing("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\ngone");
    Outcome outcome = GetAndWait(missing.Url(), 5000);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.error->status, 404);
    EXPECT_FALSE(outcome.error->error.empty());

    std::string refusedUrl;
    {
        LoopbackServer closed("x");
        refusedUrl = closed.Url(); // the port is free again once the server is gone
    }
    outcome = GetAndWait(refusedUrl, 5000);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.error->status, 0);
    EXPECT_FALSE(outcome.error->error.empty());

    LoopbackServer silent("");
    QElapsedTimer clock;
    clock.start();
    outcome = GetAndWait(silent.Url(), 300);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.error->error, "Timeout");
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(HttpClient, AbortedRequestCallsNothingAndWaitingGetReturnsTheReply)
{
    LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    int calls = 0;
    HttpClient client;
    client.Get(
        server.Url(), 5000, [&](const SHttpReply&) { ++calls; }, [&](const SHttpReply&) { ++calls; });
    client.Abort();
    QTest::qWait(100);
    EXPECT_EQ(calls, 0);

    const SHttpReply reply = lf::qt::HttpGetAndWait(server.Url(), 5000);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.body, "ok");
}

} // namespace
