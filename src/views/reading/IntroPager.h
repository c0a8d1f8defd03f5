#pragma once

#include <QString>
#include <functional>
#include <optional>

class AppSettings;

// The rules of the first-run introduction's pager, without widgets: which
// page shows, where each input moves, which buttons show with which label,
// and when the introduction finishes. Only Begin (on the last page) and Skip
// finish it; swipes and arrow keys never leave the pages.
class IntroPager
{
public:
    // How far a drag must end from where it began, in logical pixels, to turn
    // the page; exactly this far does nothing.
    static constexpr double kSwipeDistance = 40.0;

    // onFinish is called once per Begin or Skip; the pager writes no setting
    // itself (see finishInto()).
    explicit IntroPager(int pageCount, std::function<void()> onFinish = {});

    int pageCount() const { return m_pageCount; }
    // The page shown: the forced page when one is set, else the pager's own.
    int current() const { return m_forced.value_or(m_index); }
    // A page shown whatever the inputs do (still pictures); the inputs still
    // move the pager's own page from it, seen once the forcing ends.
    void setForced(std::optional<int> page) { m_forced = page; }
    std::optional<int> forced() const { return m_forced; }

    // Moves by step pages from the current one; a move before the first or
    // past the last page does nothing. Returns whether the page changed.
    bool go(int step);
    // The main button: on the last page finishes, otherwise the next page.
    void advance();
    // The Skip button: finishes at once, from any page.
    void skip();
    // A drag on the page area that ended dx pixels to the right of where it
    // began (negative: to the left). Only the horizontal travel counts.
    bool swipe(double dx);
    // The left (-1) and right (+1) arrow keys: the page moves when it can,
    // and the key is always taken as handled.
    bool arrowKey(int direction);

    bool isFirst() const { return current() <= 0; }
    bool isLast() const { return current() >= m_pageCount - 1; }
    // Back is invisible and disabled on the first page.
    bool backShown() const { return !isFirst(); }
    // Skip is invisible and disabled on the last page.
    bool skipShown() const { return !isLast(); }
    // "次へ" on every page but the last, "はじめる" on the last.
    QString mainLabel() const;
    static QString backLabel();
    static QString skipLabel();
    // Whether the dot of page i is drawn as the current one.
    bool dotIsCurrent(int i) const { return i == current(); }

    // Whether the main window shows the introduction in place of its content:
    // while the introduction has not been seen, except in still pictures.
    static bool showsIntro(const AppSettings &settings, bool isSnapshot);
    // An onFinish that marks the introduction as seen.
    static std::function<void()> finishInto(AppSettings &settings);

private:
    void finish();

    int m_pageCount;
    int m_index = 0;
    std::optional<int> m_forced;
    std::function<void()> m_onFinish;
};
