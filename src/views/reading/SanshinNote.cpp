#include "views/reading/SanshinNote.h"

#include "core/Glossary.h"
#include "core/Kiv.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/TextBlock.h"

#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The mind's name and its reading on one baseline.
class NameRow : public QWidget
{
public:
    NameRow(Isshin isshin, QWidget *parent)
        : QWidget(parent)
        , m_name(isshin.name())
        , m_reading(isshin.reading())
        , m_nameFont(Kiv::tracked(Kiv::font(18, Kiv::Design::serif), 3, 0.36))
        , m_readingFont(Kiv::font(10))
    {
        setObjectName(QStringLiteral("sanshin.name"));
        setFixedHeight(int(std::ceil(Kiv::lineHeight(m_nameFont))));
        setAccessibleName(m_name + QLatin1Char(' ') + m_reading);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const double baseline = Kiv::baselineFor(m_nameFont, height() / 2.0);
        const QFontMetricsF nameMetrics(m_nameFont);
        const QString name = nameMetrics.elidedText(m_name, Qt::ElideRight, width());
        painter.setFont(m_nameFont);
        painter.setPen(Kiv::ink());
        painter.drawText(QPointF(0, baseline), name);
        const double x = nameMetrics.horizontalAdvance(name) + 8;
        painter.setFont(m_readingFont);
        painter.setPen(Kiv::inkFaint());
        painter.drawText(QPointF(x, baseline),
                         QFontMetricsF(m_readingFont).elidedText(m_reading, Qt::ElideRight, std::max(0.0, width() - x)));
    }

private:
    QString m_name, m_reading;
    QFont m_nameFont, m_readingFont;
};

} // namespace

int SanshinNote::noteWidth()
{
    return int(std::round(320 * Kiv::scale()));
}

SanshinNote::SanshinNote(const ViewContext &context, Isshin isshin, std::function<void()> openGlossary,
                         QWidget *parent)
    : SanshinNote(context, isshin, std::move(openGlossary), Glossary::entry(Isshin::glossaryKey()), parent)
{
}

SanshinNote::SanshinNote(const ViewContext &context, Isshin isshin, std::function<void()> openGlossary,
                         const std::optional<GlossaryEntry> &entry, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sanshin.note"));
    setFixedWidth(noteWidth());
    m_paper = new KivBackground(this);
    m_paper->lower();

    m_page = new QWidget;
    auto *column = new QVBoxLayout(m_page);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(10);
    auto *heading = new ElidedLabel(Isshin::noteHeading(), Kiv::tracked(Kiv::font(12), 2, 0.24),
                                    {Kiv::Colour::inkFaint}, m_page);
    heading->setObjectName(QStringLiteral("sanshin.heading"));
    column->addWidget(heading);
    column->addWidget(new NameRow(isshin, m_page));
    auto *line = new TextBlock(isshin.line(), Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::inkSoft}, m_page);
    line->setObjectName(QStringLiteral("sanshin.line"));
    column->addWidget(line);
    if (entry) {
        column->addSpacing(4);
        auto *detail = new TextBlock(entry->detail, Kiv::font(12), {Kiv::Colour::inkSoft}, m_page);
        detail->setObjectName(QStringLiteral("sanshin.detail"));
        column->addWidget(detail);
    }
    column->addSpacing(4);
    InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    look.opacityHover = 0.75;
    m_button = new InkButton(Isshin::glossaryButton(), look, m_page);
    m_button->setObjectName(QStringLiteral("sanshin.glossary"));
    m_button->setAccessibleName(Isshin::glossaryButton());
    connect(m_button, &QAbstractButton::clicked, this, [openGlossary = std::move(openGlossary)] {
        if (openGlossary)
            openGlossary();
    });
    column->addWidget(m_button, 0, Qt::AlignLeft);
    column->addStretch(1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (context.snapshot) {
        outer->addWidget(m_page);
    } else {
        auto *scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("sanshin.scroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidgetResizable(true);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setAutoFillBackground(false);
        m_page->setAutoFillBackground(false);
        scroll->setWidget(m_page);
        outer->addWidget(scroll);
    }
}

QSize SanshinNote::sizeHint() const
{
    const int width = noteWidth();
    int height = m_page->layout()->heightForWidth(width);
    // Taller than the screen allows, it scrolls.
    if (QScreen *shown = screen())
        height = std::min(height, int(shown->availableGeometry().height() * 0.8));
    return QSize(width, height);
}

void SanshinNote::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
