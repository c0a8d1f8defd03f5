#include "core/ProjectAddresses.h"

#include <QRegularExpression>

#ifndef QUILLMERE_UPDATE_FEED_HOST
#define QUILLMERE_UPDATE_FEED_HOST ""
#endif
#ifndef QUILLMERE_FEEDBACK_MAIL
#define QUILLMERE_FEEDBACK_MAIL ""
#endif
#ifndef QUILLMERE_WEB_PAGE
#define QUILLMERE_WEB_PAGE ""
#endif

namespace {

std::optional<ProjectAddresses> &overridden()
{
    static std::optional<ProjectAddresses> addresses;
    return addresses;
}

} // namespace

const ProjectAddresses &ProjectAddresses::current()
{
    static const ProjectAddresses built{webAddress(QStringLiteral(QUILLMERE_UPDATE_FEED_HOST)),
                                        mailAddress(QStringLiteral(QUILLMERE_FEEDBACK_MAIL)),
                                        webAddress(QStringLiteral(QUILLMERE_WEB_PAGE))};
    return overridden() ? *overridden() : built;
}

void ProjectAddresses::setForTesting(const std::optional<ProjectAddresses> &addresses)
{
    overridden() = addresses;
}

QUrl ProjectAddresses::webAddress(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty() || !url.userInfo().isEmpty())
        return {};
    return url;
}

QString ProjectAddresses::mailAddress(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*$"));
    const QString address = text.trimmed();
    return plain.match(address).hasMatch() ? address : QString();
}
