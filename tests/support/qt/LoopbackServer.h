// A loopback HTTP server for the tests of the window layer's web requests: it answers every request with
// one fixed response, or, given none, keeps the connection open and never answers.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lf::test
{

class LoopbackServer
{
public:
    explicit LoopbackServer(QByteArray response) : m_response(std::move(response))
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection,
                         [this]
                         {
                             while (QTcpSocket* socket = m_server.nextPendingConnection())
                             {
                                 auto pending = std::make_shared<QByteArray>();
                                 QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                                  [this, socket, pending]
                                                  {
                                                      const QByteArray read = socket->readAll();
                                                      request += read;
                                                      *pending += read;
                                                      if (!pending->contains("\r\n\r\n"))
                                                          return;
                                                      pending->clear();
                                                      ++requests;
                                                      if (m_response.isEmpty())
                                                          return; // a silent server says nothing
                                                      socket->write(m_response);
                                                      socket->disconnectFromHost();
                                                  });
                             }
                         });
    }
    std::string Url(const char* path = "/version.txt") const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + path;
    }
    // A plain-text HTTP answer with the body.
    static QByteArray TextReply(const QByteArray& body, const QByteArray& status = "200 OK")
    {
        return "HTTP/1.1 " + status +
               "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

    QByteArray request; // every request's bytes, in order
    int requests = 0;   // complete requests received

private:
    QTcpServer m_server;
    QByteArray m_response;
};

} // namespace lf::test
