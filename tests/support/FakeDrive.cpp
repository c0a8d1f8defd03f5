#include "support/FakeDrive.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using Answer = FakeHttpServer::Answer;

const QString kFiles = QStringLiteral("/drive/v3/files/");
const QString kUploads = QStringLiteral("/upload/drive/v3/files");

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The content part (the second) of a multipart/related body.
QByteArray contentPart(const FakeHttpServer::Request &request)
{
    const QByteArray type = request.header("Content-Type");
    const qsizetype at = type.indexOf("boundary=");
    if (at < 0)
        return {};
    const QByteArray boundary = "--" + type.mid(at + 9).trimmed();
    const qsizetype first = request.body.indexOf(boundary);
    const qsizetype second = request.body.indexOf(boundary, first + boundary.size());
    const qsizetype end = request.body.indexOf(boundary, second + boundary.size());
    if (first < 0 || second < 0 || end < 0)
        return {};
    const qsizetype head = request.body.indexOf("\r\n\r\n", second);
    if (head < 0 || head > end)
        return {};
    // The part ends with the line break before the closing boundary.
    return request.body.mid(head + 4, end - (head + 4) - 2);
}

} // namespace

FakeDrive::FakeDrive()
{
    m_server.setResponder([this](const FakeHttpServer::Request &request) { return answer(request); });
}

QList<QByteArray> FakeDrive::live() const
{
    QList<QByteArray> out;
    for (const File &file : m_files)
        if (!file.trashed)
            out << file.bytes;
    return out;
}

FakeDrive::File *FakeDrive::find(const QString &id)
{
    for (File &file : m_files)
        if (file.id == id && !file.trashed)
            return &file;
    return nullptr;
}

FakeHttpServer::Answer FakeDrive::answer(const FakeHttpServer::Request &request)
{
    const QString &path = request.path;
    if (request.method == "POST" && path == QStringLiteral("/token"))
        return Answer::reply(200, R"({"access_token":"token","expires_in":3600})");

    if (request.method == "GET" && path == QStringLiteral("/drive/v3/files")) {
        QJsonArray listed;
        for (const File &file : m_files)
            if (!file.trashed)
                listed.append(QJsonObject{{"id", file.id}, {"createdTime", "2025-01-01T00:00:00Z"}});
        return Answer::reply(200, json(QJsonObject{{"files", listed}}));
    }
    if (request.method == "GET" && path.startsWith(kFiles)) {
        if (const File *file = find(path.mid(kFiles.size())))
            return Answer::reply(200, file->bytes);
        return Answer::reply(404, R"({"error":{"code":404}})");
    }
    if (request.method == "POST" && path == kUploads) {
        const File file{QStringLiteral("file%1").arg(m_files.size() + 1), contentPart(request), false};
        m_files.append(file);
        return Answer::reply(200, json(QJsonObject{{"id", file.id}}));
    }
    if (request.method == "PATCH" && path.startsWith(kUploads + QLatin1Char('/'))) {
        if (File *file = find(path.mid(kUploads.size() + 1))) {
            file->bytes = request.body;
            return Answer::reply(200, json(QJsonObject{{"id", file->id}}));
        }
        return Answer::reply(404, R"({"error":{"code":404}})");
    }
    if (request.method == "PATCH" && path.startsWith(kFiles)) {
        if (File *file = find(path.mid(kFiles.size()))) {
            if (QJsonDocument::fromJson(request.body).object().value(QStringLiteral("trashed")).toBool())
                file->trashed = true;
            return Answer::reply(200, json(QJsonObject{{"id", file->id}}));
        }
        return Answer::reply(404, R"({"error":{"code":404}})");
    }
    return Answer::reply(404);
}
