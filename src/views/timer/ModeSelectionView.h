#pragma once

#include "views/ink/ViewContext.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <QDialog>
class ModeRow;
class RoundsPicker;
class TaskTitleField;

// The start screen of the timer tab, shown while no preparation is under
// way and the engine has no mode: the dry-garden strip, "What will you turn
// to?" over the round's title field, "How will you go?" over one card per
// mode, and a saying at the foot. A card begins its mode through
// AppModel::begin; the rounds card opens the rounds picker as a sheet
// instead, and nothing begins until the picker confirms. On a short window
// the column scrolls; on a tall one the gaps share out the free height.
class ModeSelectionView : public QWidget
{
    Q_OBJECT
public:
    ModeSelectionView(const ViewContext &context, QWidget *parent = nullptr);

    const QList<ModeRow *> &cards() const { return m_cards; }
    // The rounds picker's sheet while it is open.
    QDialog *roundsSheet() const { return m_sheet; }
    RoundsPicker *roundsPicker() const;

private:
    QWidget *buildColumn();
    void choose(ModeRow *card);
    void openRoundsPicker();

    ViewContext m_context;
    QList<ModeRow *> m_cards;
    TaskTitleField *m_title = nullptr;
    QPointer<QDialog> m_sheet;
};
