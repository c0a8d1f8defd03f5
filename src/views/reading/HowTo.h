#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// The how-to page: six short sections of lines on the four pages and how a
// day with the program goes. Looked up through L once for each interface
// language and kept.
namespace HowTo {

struct Section
{
    QString title; // the identity
    QStringList lines;
    std::optional<QString> link; // label of the button that opens the settings
    std::optional<QString> web;  // label of the button that opens the maker's page

    const QString &id() const { return title; }
    bool operator==(const Section &) const = default;
};

// "カレンダーとつなぐ（設定を開く）": section 3's button to the settings.
const QString &calendarLink();
// "案内の頁をひらく": the button to the maker's page (also in the settings).
const QString &siteLink();
// "同じものが動く台が、ほかにもあります" (also in the settings).
const QString &devices();
// The six sections, built on first use.
const QList<Section> &sections();

// The page's heading ("使い方"), and the bullet before each line (the same in
// both languages, never looked up).
QString heading();
QString bullet();

// The maker's web page, which the site link opens; empty when the build
// names none, and then no site link is shown.
QUrl siteURL();

// The sections built now, in the current language (sections() keeps the
// first one of the run).
QList<Section> build();

} // namespace HowTo
