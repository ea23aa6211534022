#include "platform/qt/HttpClient.h"

#include "platform/qt/QtText.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace lf::qt
{

HttpClient::HttpClient(QObject* parent)
    : QObject(parent), m_manager(std::make_unique<QNetworkAccessManager>()), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { Done(true); });
}

HttpClient::~HttpClient()
{
    Abort();
}

void HttpClient::Get(const std::string& url, int timeoutMs, std::function<void(const SHttpReply&)> finished,
                     std::function<void(const SHttpReply&)> error)
{
    Abort();
    m_finished = std::move(finished);
    m_error = std::move(error);
    QNetworkRequest request(QUrl(ToQString(url)));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::finished, this, [this] { Done(false); });
    if (timeoutMs > 0)
        m_timer->start(timeoutMs);
}

void HttpClient::Abort()
{
    m_timer->stop();
    if (m_reply == nullptr)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void HttpClient::Done(bool timedOut)
{
    if (m_reply == nullptr)
        return;
    m_timer->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);

    SHttpReply result;
    if (timedOut)
    {
        reply->abort();
        result.error = "Timeout";
    }
    else
    {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.contentType = ToStdString(reply->header(QNetworkRequest::ContentTypeHeader).toString());
        const QByteArray body = reply->readAll();
        result.body.assign(body.constData(), static_cast<std::size_t>(body.size()));
        result.ok = reply->error() == QNetworkReply::NoError;
        if (!result.ok)
            result.error = ToStdString(reply->errorString());
    }
    reply->deleteLater();

    // The callback may start the next request or destroy this client; it runs from a copy.
    const auto callback = result.ok ? m_finished : m_error;
    m_finished = nullptr;
    m_error = nullptr;
    if (callback)
        callback(result);
}

SHttpReply HttpGetAndWait(const std::string& url, int timeoutMs)
{
    HttpClient client;
    QEventLoop loop;
    SHttpReply result;
    const auto done = [&](const SHttpReply& reply)
    {
        result = reply;
        loop.quit();
    };
    client.Get(url, timeoutMs, done, done);
    if (client.Busy())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

} // namespace lf::qt
