#pragma once

#include "model/RootTab.h"

#include <QWidget>

class Crossfade;
class ElidedLabel;
class HintButton;
class InkButton;
class Reveal;

// The line under the tab row: the selected tab's gloss with a chevron,
// which folds open the glossary's explanation of the tab's name and a link
// to the whole glossary. The fold starts closed on every tab.
class TabMeaning : public QWidget
{
    Q_OBJECT
public:
    // snapshot: look the explanation up in the language of the moment.
    explicit TabMeaning(RootTab tab, bool snapshot = false, QWidget *parent = nullptr);

    void setTab(RootTab tab);
    RootTab tab() const { return m_tab; }
    bool isOpen() const { return m_open; }
    void setOpen(bool open);
    // The fold's box, which moves as it opens and closes (tests).
    Reveal *foldBox() const { return m_foldBox; }
    Crossfade *crossfade() const { return m_crossfade; }

    // The glossary's explanation of the tab's name, when it has one.
    static std::optional<QString> meaning(RootTab tab, bool snapshot);

signals:
    // "See other words": the fold has closed; show the glossary.
    void glossaryRequested();

private:
    void refresh();

    RootTab m_tab;
    bool m_snapshot;
    bool m_open = false;
    HintButton *m_hint = nullptr;
    QWidget *m_fold = nullptr;
    Reveal *m_foldBox = nullptr;
    Crossfade *m_crossfade = nullptr;
    ElidedLabel *m_meaning = nullptr;
    InkButton *m_more = nullptr;
};
