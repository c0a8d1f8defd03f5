#pragma once

#include "support/FakeHttpServer.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>

// A small stateful stand-in for Google's token endpoint and the Drive REST
// calls the sync store makes on its application-data files: list (untrashed,
// oldest first), download (alt=media), create (multipart upload), overwrite
// (media upload) and trash. Any access token is accepted.
class FakeDrive
{
public:
    struct File
    {
        QString id;
        QByteArray bytes;
        bool trashed = false;
    };

    FakeDrive();

    // The server's address: the Drive host and, with "/token", the token endpoint.
    QUrl url(const QString &path = QString()) const { return m_server.url(path); }
    FakeHttpServer &server() { return m_server; }

    // Every file ever created, in creation order, trashed ones included.
    QList<File> files() const { return m_files; }
    // The contents of the untrashed files, oldest first.
    QList<QByteArray> live() const;

private:
    FakeHttpServer::Answer answer(const FakeHttpServer::Request &request);
    File *find(const QString &id);

    FakeHttpServer m_server;
    QList<File> m_files;
};
