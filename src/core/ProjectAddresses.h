#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The addresses the program may reach or offer to open, fixed when it is
// built (the CMake cache variables QUILLMERE_UPDATE_FEED_HOST,
// QUILLMERE_FEEDBACK_MAIL and QUILLMERE_WEB_PAGE). Each is empty unless the
// builder names one the project owns: with no feed host no update check
// leaves the machine, with no mail address there is no feedback row, with no
// web page no row opens one. A value that is not a plain http(s) address
// (or, for the mail, a plain user@host) counts as empty.
struct ProjectAddresses
{
    QUrl updateFeedHost; // the feed is GET <host>/latest.json
    QString feedbackMail;
    QUrl webPage;

    // The build's addresses, or those a test set.
    static const ProjectAddresses &current();
    // Replaces the build's addresses until called again with nothing.
    static void setForTesting(const std::optional<ProjectAddresses> &addresses);

    // The checks applied to every value: an http(s) URL with a host, and a
    // mail address with one "@", no blanks and nothing a mailto link would
    // read as more than the address. Anything else gives an empty value.
    static QUrl webAddress(const QString &text);
    static QString mailAddress(const QString &text);
};
