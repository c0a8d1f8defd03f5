#include "views/reading/SanshinNotePresenter.h"

#include "model/AppModel.h"
#include "views/ink/Popover.h"
#include "views/reading/SanshinNote.h"

SanshinNotePresenter::SanshinNotePresenter(const ViewContext &context, QWidget *anchor)
    : QObject(anchor)
    , m_context(context)
    , m_anchor(anchor)
{
}

void SanshinNotePresenter::open(Isshin isshin)
{
    close();
    auto *popover = new Popover(m_anchor);
    popover->setObjectName(QStringLiteral("sanshin.popover"));
    popover->setAttribute(Qt::WA_DeleteOnClose);
    auto *note = new SanshinNote(m_context, isshin, [this] {
        // Closed first, then the glossary asked for.
        close();
        if (AppModel *model = m_context.model)
            model->setGlossaryRequest(model->glossaryRequest() + 1);
    });
    popover->setContent(note);
    connect(popover, &Popover::dismissed, this, &SanshinNotePresenter::closed);
    m_popover = popover;
    popover->open(Qt::BottomEdge);
}

void SanshinNotePresenter::close()
{
    if (m_popover)
        m_popover->close();
}

bool SanshinNotePresenter::isOpen() const
{
    return m_popover && m_popover->isVisible();
}

SanshinNote *SanshinNotePresenter::note() const
{
    return m_popover ? qobject_cast<SanshinNote *>(m_popover->content()) : nullptr;
}
