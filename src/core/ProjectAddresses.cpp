#include "core/ProjectAddresses.h"

#include <algorithm>

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
    // user@host, the user of ASCII letters, digits and "._+-", the host of
    // labels of ASCII letters, digits and "-" joined by single dots. Checked
    // by hand: the program reads it at start, and compiling a pattern for it
    // cost the first window half a millisecond.
    const auto letterOrDigit = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
    };
    const QString address = text.trimmed();
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0)
        return {};
    const QStringView user = QStringView(address).first(at);
    if (!std::all_of(user.begin(), user.end(),
                     [&](QChar c) { return letterOrDigit(c) || QStringView(u"._+-").contains(c); }))
        return {};
    for (const QStringView label : QStringView(address).sliced(at + 1).split(u'.')) {
        if (label.isEmpty()
            || !std::all_of(label.begin(), label.end(), [&](QChar c) { return letterOrDigit(c) || c == u'-'; }))
            return {};
    }
    return address;
}
