#include "app/Pages.h"

#include "app/PlaceholderPage.h"
#include "core/Kiv.h"
#include "views/ink/ElidedLabel.h"

namespace Pages {

QWidget *preparation(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.preparation"), QStringLiteral("PreparationView"), parent);
}

QWidget *modeSelection(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.modeSelection"), QStringLiteral("ModeSelectionView"), parent);
}

QWidget *timer(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.timer"), QStringLiteral("TimerView"), parent);
}

QWidget *day(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.day"), QStringLiteral("DayView"), parent);
}

QWidget *tasks(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.tasks"), QStringLiteral("TodoListView"), parent);
}

QWidget *sweep(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.sweep"), QStringLiteral("SweepView"), parent);
}

QWidget *daily(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.daily"), QStringLiteral("DailyView"), parent);
}

QWidget *history(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.history"), QStringLiteral("HistoryView"), parent);
}

QWidget *glossary(const ViewContext &, QWidget *parent)
{
    return new PlaceholderPage(QStringLiteral("page.glossary"), QStringLiteral("GlossaryView"), parent);
}

QWidget *sanshinLine(const ViewContext &, Isshin mind, QWidget *parent)
{
    auto *line = new ElidedLabel(mind.footerLine(), Kiv::font(12), {Kiv::Colour::inkSoft}, parent);
    line->setObjectName(QStringLiteral("footer.sanshin"));
    line->setToolTip(Isshin::helpTip());
    return line;
}

} // namespace Pages
