#pragma once

#include <QString>

// True when the text holds Japanese punctuation, kana, ideographs or
// full-width forms: an English text holding them was left untranslated.
inline bool hasJapanese(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// True when every character is hiragana, or the middle dot between words
// ("ひび・おりおり").
inline bool isKana(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= 0x3041 && u <= 0x309F) || u == 0x30FB))
            return false;
    }
    return true;
}
