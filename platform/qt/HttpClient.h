// HTTP GET for the windows: no cache, a time limit for the whole request, and the answer delivered on
// the window thread. The new-version check and the pictures of imported pages use it.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace lf::qt
{

struct SHttpReply
{
    bool ok = false;
    int status = 0;          // the HTTP status code; 0 when no answer came
    std::string body;        // the bytes of the answer (also of an error page)
    std::string contentType; // as the server names it
    std::string error;       // empty when ok
};

class HttpClient : public QObject
{
    Q_OBJECT
public:
    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    // Starts a GET; a running one is aborted first, without its callback. Later, exactly one of the
    // callbacks runs: finished with a successful reply, or error with the reply and its error text (a
    // refused connection, an HTTP error status, "Timeout" after timeoutMs in all; 0 or less: no limit).
    void Get(const std::string& url, int timeoutMs, std::function<void(const SHttpReply&)> finished,
             std::function<void(const SHttpReply&)> error);
    // Stops a running request; no callback runs.
    void Abort();
    bool Busy() const { return m_reply != nullptr; }

private:
    void Done(bool timedOut);

    std::unique_ptr<QNetworkAccessManager> m_manager;
    QNetworkReply* m_reply = nullptr;
    QTimer* m_timer;
    std::function<void(const SHttpReply&)> m_finished;
    std::function<void(const SHttpReply&)> m_error;
};

// Runs a GET to its end, pumping pending events meanwhile with user input excluded.
SHttpReply HttpGetAndWait(const std::string& url, int timeoutMs);

} // namespace lf::qt
