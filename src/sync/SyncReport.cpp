#include "sync/SyncReport.h"

#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/time/Clock.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {
QString g_lastError;

const QChar kIdeographicSpace(0x3000);

// The first n user-perceived characters of text.
QString firstCharacters(const QString &text, int n)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    qsizetype end = 0;
    while (count < n) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
        ++count;
    }
    return text.left(end);
}
} // namespace

QString SyncReport::lastError()
{
    return g_lastError;
}

void SyncReport::setLastError(const QString &message)
{
    g_lastError = message;
}

void SyncReport::clearLastError()
{
    g_lastError.clear();
}

QString SyncReport::logPath()
{
    return AppPaths::dataDir() + QStringLiteral("/sync-report.txt");
}

QString SyncReport::withoutSecrets(QString text)
{
    static const QRegularExpression bearer(QStringLiteral("(Bearer\\s+)[^\\s\"',;]+"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fields(
        QStringLiteral("(\"(?:access_token|refresh_token|id_token|client_secret|code)\"\\s*:\\s*\")[^\"]*\""));
    text.replace(bearer, QStringLiteral("\\1…"));
    text.replace(fields, QStringLiteral("\\1…\""));
    return text;
}

void SyncReport::record(const QString &message, const QString &detail)
{
    g_lastError = message;
    log(message, detail);
}

void SyncReport::log(const QString &message, const QString &detail)
{
    const QString stamp = QLocale(QStringLiteral("ja_JP")).toString(Clock::current().now().toLocalTime(),
                                                                    QStringLiteral("M月d日 H:mm:ss"));
    QString entry = stamp + kIdeographicSpace + withoutSecrets(message);
    if (!detail.isNull())
        entry += QLatin1Char('\n') + kIdeographicSpace + firstCharacters(withoutSecrets(detail), 400);
    entry += QLatin1Char('\n');

    QFile file(logPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(entry.toUtf8());
    file.close();
}

QString SyncReport::explain(int status, const QString &body)
{
    if (body.contains(QStringLiteral("Google Drive API has not been used"))
        || body.contains(QStringLiteral("accessNotConfigured")))
        return L("Google Cloud のプロジェクトで Drive API が有効になっていません。コンソールで有効にしてから、もう一度お試しください。");
    if (status == 0)
        return L("ネットに繋がりませんでした。");
    if (status == 401)
        return L("合鍵が切れています。設定で Google を繋ぎ直してください。");
    if (status == 403 && body.contains(QStringLiteral("insufficient")))
        return L("控えを置く許しがありません。設定で Google を繋ぎ直してください。");
    return L("置けませんでした（{0}）。", status);
}

QString SyncReport::explain(NetFailure failure)
{
    switch (failure) {
    case NetFailure::NotConnectedToInternet:
    case NetFailure::NetworkConnectionLost:
    case NetFailure::CannotConnectToHost:
    case NetFailure::CannotFindHost:
    case NetFailure::DnsLookupFailed:
        return L("ネットに繋がりませんでした。");
    case NetFailure::TimedOut:
        return L("Google からの返事が、時間内に返ってきませんでした。");
    case NetFailure::SecureConnectionFailed:
    case NetFailure::ServerCertificateUntrusted:
        return L("安全な繋がりを作れませんでした。");
    case NetFailure::None:
        return L("通信でつまずきました。");
    default:
        return L("通信でつまずきました（{0}）。", int(failure));
    }
}

QString SyncReport::detail(NetFailure failure, const QString &description)
{
    return QStringLiteral("URLError ") + QString::number(int(failure)) + QChar(0xFF1A) + description;
}
