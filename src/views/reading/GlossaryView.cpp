#include "views/reading/GlossaryView.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/KivBackground.h"
#include "views/ink/TextBlock.h"
#include "views/reading/GlossaryRow.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kSide = 22;

// The rule after a section's title, taking the rest of the row.
class SectionRule : public QWidget
{
public:
    explicit SectionRule(QWidget *parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Kiv::hairline(0.7));
    }
};
} // namespace

GlossaryView::GlossaryView(const ViewContext &context, QWidget *parent)
    : GlossaryView(context, Glossary::sections(), parent)
{
}

GlossaryView::GlossaryView(const ViewContext &context, const QList<Glossary::Section> &sections, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("glossary"));
    const double s = Kiv::scale();
    setMinimumSize(int(std::ceil(380 * s)), int(std::ceil(420 * s)));
    m_paper = new KivBackground(this);
    m_paper->lower();

    m_page = new QWidget;
    m_page->setObjectName(QStringLiteral("glossary.page"));
    auto *column = new QVBoxLayout(m_page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *heading = new ElidedLabel(Glossary::heading(), Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 3.0, 0.36),
                                    {Kiv::Colour::inkSoft}, m_page);
    heading->setObjectName(QStringLiteral("glossary.heading"));
    auto *headingRow = new QHBoxLayout;
    headingRow->setContentsMargins(kSide, 20, kSide, 4);
    headingRow->addWidget(heading);
    column->addLayout(headingRow);

    for (const Glossary::Section &section : sections) {
        auto *header = new QHBoxLayout;
        header->setContentsMargins(kSide, 18, kSide, 6);
        header->setSpacing(8);
        auto *title = new ElidedLabel(section.title, Kiv::tracked(Kiv::font(12), 2.0, 0.24), {Kiv::Colour::inkSoft},
                                      m_page);
        title->setObjectName(QStringLiteral("glossary.section"));
        header->addWidget(title);
        header->addWidget(new SectionRule(m_page), 1, Qt::AlignVCenter);
        column->addLayout(header);
        for (const GlossaryEntry &entry : section.entries)
            column->addWidget(new GlossaryRow(entry, m_page));
    }

    auto *note = new TextBlock(Glossary::closingNote(), Kiv::font(12), {Kiv::Colour::inkFaint}, m_page);
    note->setObjectName(QStringLiteral("glossary.note"));
    auto *noteRow = new QHBoxLayout;
    noteRow->setContentsMargins(kSide, 22, kSide, 24);
    noteRow->addWidget(note);
    column->addLayout(noteRow);
    column->addStretch(1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (context.snapshot) {
        outer->addWidget(m_page);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("glossary.scroll"));
        // The page scrolls by keys when focused; it bears the page's name.
        m_scroll->setAccessibleName(L("言葉のしおり"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_scroll->setWidgetResizable(true);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        m_page->setAutoFillBackground(false);
        m_scroll->setWidget(m_page);
        outer->addWidget(m_scroll);
    }
}

bool GlossaryView::hasHeightForWidth() const
{
    return m_context.snapshot;
}

int GlossaryView::heightForWidth(int width) const
{
    return std::max(minimumHeight(), m_page->layout()->heightForWidth(width));
}

void GlossaryView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
