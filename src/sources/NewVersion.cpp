#include "sources/NewVersion.h"

#include "platform/time/Clock.h"
#include "platform/net/Http.h"
#include "platform/files/Preferences.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QStringList>

const QString NewVersion::kLastLookedKey = QStringLiteral("lastLookedForVersionAt");

namespace {

// A version piece as a decimal number without leading zeros ("" is 0), so
// that numbers of any size compare without overflow.
QString numberOf(const QString &piece)
{
    QString digits;
    for (QChar c : piece) {
        // Every numeric character is kept (also superscripts, fractions and
        // numerals); any that is not an ASCII digit spoils the whole piece.
        if (!c.isNumber())
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString(); // digits of another script do not read as a number
        digits += c;
    }
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == QLatin1Char('0'))
        ++first;
    return digits.mid(first);
}

QStringList numbersOf(const QString &version)
{
    QStringList out;
    for (const QString &piece : version.split(QLatin1Char('.'), Qt::SkipEmptyParts))
        out.append(numberOf(piece));
    return out;
}

// -1, 0 or 1 as a is smaller, equal or larger than b.
int compareNumbers(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::optional<NewVersion::Found> decode(const HttpResult &result, const QString &here)
{
    if (!result.replied || result.tooLarge || result.status != 200)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(result.body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject feed = doc.object();
    const QJsonValue version = feed.value(QStringLiteral("version"));
    const QJsonValue url = feed.value(QStringLiteral("url"));
    const QJsonValue note = feed.value(QStringLiteral("note"));
    if (!version.isString() || !url.isString())
        return std::nullopt;
    if (!note.isUndefined() && !note.isNull() && !note.isString())
        return std::nullopt;
    if (!NewVersion::isNewer(version.toString(), here))
        return std::nullopt;
    const QUrl address(url.toString(), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty()
        || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https")))
        return std::nullopt;
    NewVersion::Found found;
    found.version = version.toString();
    found.url = address;
    if (note.isString())
        found.note = note.toString();
    return found;
}

} // namespace

bool NewVersion::isNewer(const QString &candidate, const QString &running)
{
    const QStringList a = numbersOf(candidate);
    const QStringList b = numbersOf(running);
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const int c = compareNumbers(a.value(i), b.value(i));
        if (c != 0)
            return c > 0;
    }
    return false;
}

void NewVersion::check(const QString &here, const std::optional<QDateTime> &lastLooked, const QDateTime &now,
                       Done done, const NewVersionConfig &config)
{
    QUrl address = config.updateHost;
    address.setPath(QStringLiteral("/latest.json"));
    if (!address.isValid() || address.host().isEmpty()) {
        done(std::nullopt);
        return;
    }
    if (lastLooked && lastLooked->secsTo(now) < kGapSeconds) {
        done(std::nullopt);
        return;
    }
    HttpRequest request;
    request.url = address;
    request.timeoutMs = config.timeoutMs;
    request.maxBodyBytes = kMaxFeedBytes;
    Http::send(request, nullptr, [here, done](const HttpResult &result) { done(decode(result, here)); });
}

void NewVersion::checkStamped(Preferences &prefs, const QString &here, Done done, const NewVersionConfig &config)
{
    std::optional<QDateTime> lastLooked;
    if (const auto seconds = prefs.number(kLastLookedKey); seconds && *seconds > 0)
        lastLooked = QDateTime::fromMSecsSinceEpoch(qint64(*seconds * 1000.0));
    QPointer<Preferences> target(&prefs);
    check(here, lastLooked, Clock::current().now(),
          [target, done](std::optional<Found> found) {
              if (found && target)
                  target->setValue(kLastLookedKey, double(Clock::current().now().toMSecsSinceEpoch()) / 1000.0);
              done(found);
          },
          config);
}
