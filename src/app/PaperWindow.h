#pragma once

#include <QWidget>

class KivBackground;

// A window of the program around one page: the paper behind it, the page
// filling it. The main, history, glossary and settings windows are these.
// Tab goes in reading order (ReadingOrder); every window but the main one
// closes on Escape (when nothing in it took the key) and Ctrl+W.
class PaperWindow : public QWidget
{
    Q_OBJECT
public:
    // Who lays the paper: the window, behind the page, or a page that lays
    // its own over all of itself (the window then lays none, so the paper is
    // neither drawn nor painted twice).
    enum class Paper { behindPage, ownedByPage };

    // id: the window's identifier, also its object name ("timer", "history").
    PaperWindow(const QString &id, const QString &title, QWidget *content, Paper paper = Paper::behindPage,
                QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    // Puts a new page in place of the present one (built anew for a new
    // text scale): the old page goes on a later turn, since what it is doing
    // may be what asked for the new one. The scroll position (as a share of
    // the way down) and the focus (by object name) carry over.
    void replaceContent(QWidget *content);
    // Brings the window forward: shown, restored from the dock, raised, active.
    void bringForward();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    KivBackground *m_paper = nullptr;
    QWidget *m_content = nullptr;
    bool m_closesOnEscape = false;
};
