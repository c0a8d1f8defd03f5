#include "views/reading/Feedback.h"

#include "core/L.h"
#include "core/ProjectAddresses.h"
#include "platform/desktop/Desktop.h"

#include <QSysInfo>

namespace Feedback {

namespace {
QByteArray component(const QString &text)
{
    // Only the unreserved characters stay as they are; everything else,
    // the sub-delimiters included, becomes a %XX escape of its UTF-8 bytes.
    return QUrl::toPercentEncoding(text);
}
} // namespace

QString recipient()
{
    return ProjectAddresses::current().feedbackMail;
}

bool offered()
{
    return !recipient().isEmpty();
}

std::optional<QUrl> formURL(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QUrl> mailURL(const QString &version, const QString &platform)
{
    return mailURL(version, platform, system());
}

std::optional<QUrl> mailURL(const QString &version, const QString &platform, const QString &systemLine)
{
    if (!offered())
        return std::nullopt;
    const QString platformLine = platform + QStringLiteral(" ・ ") + systemLine;
    const QString subject = L(QStringLiteral("Ondrevelについて"));
    const QString body = L(QStringLiteral("\n\n────────────\nここから上に、お書きください。\n"
                                          "記録や作務の中身は、こちらには送られません。\n版 {0}（{1}）"),
                           version, platformLine);
    const QByteArray encoded = QByteArrayLiteral("mailto:") + recipient().toUtf8() + QByteArrayLiteral("?subject=")
                               + component(subject) + QByteArrayLiteral("&body=") + component(body);
    const QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QString system()
{
    const QString pretty = QSysInfo::prettyProductName();
    if (!pretty.isEmpty() && pretty != QStringLiteral("unknown"))
        return pretty;
    return QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
}

QString platform()
{
    return QStringLiteral("Linux");
}

std::optional<QUrl> address(const QString &version)
{
    const QString shown = version.isEmpty() ? QStringLiteral("?") : version;
    if (std::optional<QUrl> form = formURL(shown, platform(), QString()))
        return form;
    return mailURL(shown, platform());
}

QString noMailProgramNotice()
{
    return L(QStringLiteral("メールのアプリを開けませんでした。{0} へお送りください。"), recipient());
}

bool send(const QString &version, Desktop &desktop, const std::function<void(const QString &)> &tell)
{
    const std::optional<QUrl> url = address(version);
    if (url && desktop.openUrl(*url))
        return true;
    if (tell && offered())
        tell(noMailProgramNotice());
    return false;
}

} // namespace Feedback
