#pragma once

#include <QList>
#include <QString>

// The first-run introduction: three short pages on what the program is for
// and how its four pages fit together. Looked up through L once, on first
// use, and kept in the language of that moment for the run.
namespace Intro {

struct Term
{
    QString word;    // the word as shown (Japanese, or its English rendering)
    QString reading; // the kana in Japanese; the Japanese word in English
    QString note;
    bool operator==(const Term &) const = default;
};

struct Page
{
    int id = 0; // the page's position: 0, 1 or 2
    QString heading;
    QString body;
    QList<Term> terms; // only page 1 has terms
    bool operator==(const Page &) const = default;
};

// The three pages, in order, built on first use.
const QList<Page> &pages();

// The pages built now, in the current language (pages() keeps one for each
// language).
QList<Page> build();

} // namespace Intro
