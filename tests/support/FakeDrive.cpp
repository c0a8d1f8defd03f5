#include "support/FakeDrive.h"

#include "platform/time/Clock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUrlQuery>

namespace {

using Answer = FakeHttpServer::Answer;

const QString kFiles = QStringLiteral("/drive/v3/files");
const QString kFile = QStringLiteral("/drive/v3/files/");
const QString kUploads = QStringLiteral("/upload/drive/v3/files");
const QString kAppData = QStringLiteral("appDataFolder");

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Drive's error body: {"error":{"code":…,"message":…,"errors":[{"reason":…}]}}.
Answer driveError(int status, const QString &reason, const QString &message)
{
    const QJsonObject detail{{"domain", reason.contains(QStringLiteral("RateLimit")) ? "usageLimits" : "global"},
                             {"reason", reason},
                             {"message", message}};
    return Answer::reply(status, json(QJsonObject{
                                     {"error", QJsonObject{{"code", status},
                                                           {"message", message},
                                                           {"errors", QJsonArray{detail}}}}}));
}

QUrlQuery form(const FakeHttpServer::Request &request)
{
    return QUrlQuery(QString::fromUtf8(request.body));
}

QString field(const QUrlQuery &query, const char *name)
{
    return query.queryItemValue(QString::fromLatin1(name), QUrl::FullyDecoded);
}

// The parts of a multipart/related body, each without its headers.
QList<QByteArray> parts(const FakeHttpServer::Request &request)
{
    const QByteArray type = request.header("Content-Type");
    const qsizetype at = type.indexOf("boundary=");
    if (!type.startsWith("multipart/related") || at < 0)
        return {};
    const QByteArray boundary = "--" + type.mid(at + 9).trimmed();
    QList<QByteArray> out;
    qsizetype from = request.body.indexOf(boundary);
    while (from >= 0) {
        const qsizetype next = request.body.indexOf(boundary, from + boundary.size());
        if (next < 0)
            break;
        const qsizetype head = request.body.indexOf("\r\n\r\n", from);
        if (head < 0 || head > next)
            return {};
        // A part ends with the line break before the next boundary.
        out.append(request.body.mid(head + 4, next - (head + 4) - 2));
        from = next;
    }
    return out;
}

// What a "fields" mask asks of a list: its top-level members and those of
// each file. An empty mask gives Drive's defaults.
struct Mask
{
    QSet<QString> top;
    QSet<QString> file;
};

Mask maskOf(const QString &fields)
{
    if (fields.isEmpty())
        return {{"kind", "nextPageToken", "incompleteSearch", "files"}, {"kind", "id", "name", "mimeType"}};
    Mask mask;
    int depth = 0;
    QString item;
    const auto take = [&] {
        const QString t = item.trimmed();
        item.clear();
        if (t.isEmpty())
            return;
        const qsizetype open = t.indexOf(QLatin1Char('('));
        if (open < 0) {
            mask.top.insert(t);
            if (t == QStringLiteral("files"))
                mask.file = {"kind", "id", "name", "mimeType", "createdTime"};
            return;
        }
        mask.top.insert(t.left(open));
        for (const QString &f : t.mid(open + 1).chopped(1).split(QLatin1Char(',')))
            mask.file.insert(f.trimmed());
    };
    for (QChar c : fields) {
        if (c == QLatin1Char('('))
            ++depth;
        if (c == QLatin1Char(')'))
            --depth;
        if (c == QLatin1Char(',') && depth == 0)
            take();
        else
            item += c;
    }
    take();
    return mask;
}

} // namespace

FakeDrive::FakeDrive()
{
    m_server.setResponder([this](const FakeHttpServer::Request &request) {
        const Answer a = answer(request);
        m_seen.append(Seen{request.method, request.path, a.kind == Answer::Kind::Reply ? a.status : 0,
                           Clock::current().now()});
        return a;
    });
}

QList<QByteArray> FakeDrive::live() const
{
    QList<QByteArray> out;
    for (const File &file : m_files)
        out << file.bytes;
    return out;
}

QString FakeDrive::newID()
{
    ++m_created;
    return QStringLiteral("file-%1").arg(m_created, 4, 10, QLatin1Char('0'));
}

QString FakeDrive::add(const QByteArray &bytes)
{
    File file;
    file.id = newID();
    file.name = QStringLiteral("quillmere-sync.json");
    file.bytes = bytes;
    file.createdTime = QDateTime(QDate(2025, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(m_created);
    m_files.append(file);
    return file.id;
}

void FakeDrive::clear()
{
    m_files.clear();
    m_seen.clear();
    m_server.clearRequests();
}

void FakeDrive::limitNext(int count, Limit kind, const QByteArray &method, const QString &pathPrefix,
                          int retryAfterSeconds)
{
    m_limits.append(Limiter{count, kind, method, pathPrefix, retryAfterSeconds});
}

void FakeDrive::dropAccessTokens()
{
    m_accessTokens.clear();
}

void FakeDrive::revoke(const QString &refreshToken)
{
    m_revokedRefresh.insert(refreshToken);
    for (auto it = m_accessOwner.cbegin(); it != m_accessOwner.cend(); ++it)
        if (it.value() == refreshToken)
            m_accessTokens.remove(it.key());
}

FakeDrive::File *FakeDrive::find(const QString &id)
{
    for (File &file : m_files)
        if (file.id == id)
            return &file;
    return nullptr;
}

FakeHttpServer::Answer FakeDrive::answer(const FakeHttpServer::Request &request)
{
    if (request.path == QStringLiteral("/token"))
        return token(request);
    if (request.path == QStringLiteral("/revoke"))
        return revokeAnswer(request);
    if (!request.path.startsWith(kFiles) && !request.path.startsWith(kUploads))
        return Answer::reply(404);

    const QByteArray authorization = request.header("Authorization");
    if (!authorization.startsWith("Bearer ")
        || !m_accessTokens.contains(QString::fromUtf8(authorization.mid(7)))) {
        Answer a = driveError(401, QStringLiteral("authError"), QStringLiteral("Invalid Credentials"));
        a.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Bearer realm=\"https://accounts.google.com/\"")));
        return a;
    }
    for (qsizetype i = 0; i < m_limits.size(); ++i) {
        Limiter &limit = m_limits[i];
        if ((!limit.method.isEmpty() && limit.method != request.method) || !request.path.startsWith(limit.pathPrefix))
            continue;
        Answer a = limit.kind == Limit::TooManyRequests
                       ? driveError(429, QStringLiteral("rateLimitExceeded"), QStringLiteral("Rate Limit Exceeded"))
                       : driveError(403, QStringLiteral("userRateLimitExceeded"),
                                    QStringLiteral("User Rate Limit Exceeded"));
        if (limit.retryAfterSeconds >= 0)
            a.headers.append(qMakePair(QByteArray("Retry-After"), QByteArray::number(limit.retryAfterSeconds)));
        if (--limit.count <= 0)
            m_limits.removeAt(i);
        return a;
    }
    if (request.method == "GET" && request.path == kFiles)
        return list(request);
    return drive(request);
}

FakeHttpServer::Answer FakeDrive::token(const FakeHttpServer::Request &request)
{
    if (request.method != "POST")
        return Answer::reply(405);
    const QUrlQuery f = form(request);
    const QString grant = field(f, "grant_type");
    QString refreshToken;
    if (grant == QStringLiteral("refresh_token")) {
        refreshToken = field(f, "refresh_token");
        if (refreshToken.isEmpty() || m_revokedRefresh.contains(refreshToken))
            return Answer::reply(400, R"({"error":"invalid_grant","error_description":"Token has been expired or revoked."})");
    } else if (grant == QStringLiteral("authorization_code")) {
        refreshToken = QStringLiteral("1//refresh-%1").arg(++m_issued);
    } else {
        return Answer::reply(400, R"({"error":"unsupported_grant_type"})");
    }
    const QString access = QStringLiteral("ya29.access-%1").arg(++m_issued);
    m_accessTokens.insert(access);
    m_accessOwner.insert(access, refreshToken);
    QJsonObject reply{{"access_token", access},
                      {"expires_in", 3599},
                      {"scope", "https://www.googleapis.com/auth/drive.appdata"},
                      {"token_type", "Bearer"}};
    if (grant == QStringLiteral("authorization_code"))
        reply.insert(QStringLiteral("refresh_token"), refreshToken);
    return Answer::reply(200, json(reply));
}

FakeHttpServer::Answer FakeDrive::revokeAnswer(const FakeHttpServer::Request &request)
{
    const QString token = field(form(request), "token");
    if (request.method != "POST" || token.isEmpty())
        return Answer::reply(400, R"({"error":"invalid_request"})");
    if (m_revokedRefresh.contains(token))
        return Answer::reply(400, R"({"error":"invalid_token","error_description":"Token expired or revoked"})");
    m_revokedInOrder.append(token);
    if (m_accessTokens.remove(token))
        return Answer::reply(200, "{}");
    revoke(token);
    return Answer::reply(200, "{}");
}

FakeHttpServer::Answer FakeDrive::list(const FakeHttpServer::Request &request)
{
    // Files of the application-data space are listed only when it is asked for.
    const bool appData = request.param(QStringLiteral("spaces")).split(QLatin1Char(',')).contains(kAppData);
    static const QRegularExpression namePattern(QStringLiteral("name\\s*=\\s*'([^']*)'"));
    const QRegularExpressionMatch name = namePattern.match(request.param(QStringLiteral("q")));
    QList<const File *> matching;
    if (appData)
        for (const File &file : m_files)
            if (!name.hasMatch() || file.name == name.captured(1))
                matching.append(&file);

    const QString asked = request.param(QStringLiteral("pageSize"));
    const int size = qBound(1, asked.isEmpty() ? 100 : asked.toInt(), 1000);
    const int pageSize = qMin(size, m_pageLimit);
    const QString pageToken = request.param(QStringLiteral("pageToken"));
    int offset = 0;
    int count = pageSize;
    if (pageToken.isEmpty() && m_emptyFirstPage) {
        count = 0;
    } else if (!pageToken.isEmpty()) {
        if (!pageToken.startsWith(QStringLiteral("page-")))
            return driveError(400, QStringLiteral("invalid"), QStringLiteral("Invalid Value"));
        offset = pageToken.mid(5).toInt();
    }
    const bool more = offset + count < matching.size();

    const Mask mask = maskOf(request.param(QStringLiteral("fields")));
    QJsonObject page;
    if (mask.top.contains(QStringLiteral("kind")))
        page.insert(QStringLiteral("kind"), QStringLiteral("drive#fileList"));
    if (more && mask.top.contains(QStringLiteral("nextPageToken")))
        page.insert(QStringLiteral("nextPageToken"), QStringLiteral("page-%1").arg(offset + count));
    if (mask.top.contains(QStringLiteral("incompleteSearch")))
        page.insert(QStringLiteral("incompleteSearch"), m_incompleteSearch);
    if (mask.top.contains(QStringLiteral("files"))) {
        QJsonArray listed;
        for (qsizetype i = offset; i < qMin<qsizetype>(offset + count, matching.size()); ++i) {
            const File &file = *matching[i];
            QJsonObject item;
            if (mask.file.contains(QStringLiteral("kind")))
                item.insert(QStringLiteral("kind"), QStringLiteral("drive#file"));
            if (mask.file.contains(QStringLiteral("id")))
                item.insert(QStringLiteral("id"), file.id);
            if (mask.file.contains(QStringLiteral("name")))
                item.insert(QStringLiteral("name"), file.name);
            if (mask.file.contains(QStringLiteral("mimeType")))
                item.insert(QStringLiteral("mimeType"), QStringLiteral("application/json"));
            if (mask.file.contains(QStringLiteral("createdTime")))
                item.insert(QStringLiteral("createdTime"), file.createdTime.toString(Qt::ISODateWithMs));
            listed.append(item);
        }
        page.insert(QStringLiteral("files"), listed);
    }
    return Answer::reply(200, json(page));
}

FakeHttpServer::Answer FakeDrive::drive(const FakeHttpServer::Request &request)
{
    const QString &path = request.path;
    const auto notFound = [&](const QString &id) {
        return driveError(404, QStringLiteral("notFound"), QStringLiteral("File not found: %1.").arg(id));
    };
    const auto metadata = [](const File &file) {
        return json(QJsonObject{{"kind", "drive#file"},
                                {"id", file.id},
                                {"name", file.name},
                                {"mimeType", "application/json"}});
    };

    if (request.method == "POST" && path == kUploads) {
        if (request.param(QStringLiteral("uploadType")) != QStringLiteral("multipart"))
            return driveError(400, QStringLiteral("badRequest"), QStringLiteral("Unsupported upload type."));
        const QList<QByteArray> p = parts(request);
        const QJsonObject meta = QJsonDocument::fromJson(p.value(0)).object();
        if (p.size() != 2 || !meta.value(QStringLiteral("parents")).toArray().contains(kAppData))
            return driveError(400, QStringLiteral("badRequest"), QStringLiteral("Bad Request"));
        add(p[1]);
        m_files.last().name = meta.value(QStringLiteral("name")).toString();
        return Answer::reply(200, metadata(m_files.last()));
    }
    if (request.method == "PATCH" && path.startsWith(kUploads + QLatin1Char('/'))) {
        const QString id = path.mid(kUploads.size() + 1);
        File *file = find(id);
        if (!file)
            return notFound(id);
        if (request.param(QStringLiteral("uploadType")) != QStringLiteral("media"))
            return driveError(400, QStringLiteral("badRequest"), QStringLiteral("Unsupported upload type."));
        file->bytes = request.body;
        return Answer::reply(200, metadata(*file));
    }
    if (!path.startsWith(kFile))
        return Answer::reply(404);
    const QString id = path.mid(kFile.size());
    File *file = find(id);
    if (!file)
        return notFound(id);

    if (request.method == "GET") {
        if (request.param(QStringLiteral("alt")) == QStringLiteral("media"))
            return Answer::reply(200, file->bytes);
        return Answer::reply(200, metadata(*file));
    }
    if (request.method == "PATCH") {
        if (QJsonDocument::fromJson(request.body).object().contains(QStringLiteral("trashed")))
            return driveError(403, QStringLiteral("notSupportedForAppDataFolderFiles"),
                              QStringLiteral("Method not supported for files within the Application Data folder."));
        return Answer::reply(200, metadata(*file));
    }
    if (request.method == "DELETE") {
        m_files.removeIf([&](const File &f) { return f.id == id; });
        return Answer::reply(204, {}, {});
    }
    return Answer::reply(405);
}
