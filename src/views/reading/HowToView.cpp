#include "views/reading/HowToView.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/KivBackground.h"
#include "views/ink/ScrollPage.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kSide = 22;
// A wrapped line is never cut; no line of the page comes near this.
constexpr int kMaxLines = 40;

// The thin rule after a section's title, taking the rest of the row.
class SectionRule : public QWidget
{
public:
    explicit SectionRule(QWidget *parent = nullptr)
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

InkButton *textButton(const QString &label, QWidget *parent)
{
    InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    look.opacityHover = 0.75;
    auto *button = new InkButton(label, look, parent);
    button->setAccessibleName(label);
    return button;
}

// A button on a row of its own at the left edge, 8 below the lines.
void addButtonRow(QVBoxLayout *column, InkButton *button)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(kSide, 8, kSide, 0);
    row->addWidget(button);
    row->addStretch();
    column->addLayout(row);
}
} // namespace

HowToView::HowToView(const ViewContext &context, QWidget *parent)
    : HowToView(context, HowTo::sections(), parent)
{
}

HowToView::HowToView(const ViewContext &context, QList<HowTo::Section> sections, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("howto"));
    const double s = Kiv::scale();
    setMinimumSize(int(std::ceil(380 * s)), int(std::ceil(420 * s)));
    m_paper = new KivBackground(this);
    m_paper->lower();

    auto *page = new ScrollPage;
    page->setObjectName(QStringLiteral("howto.page"));
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 24);
    column->setSpacing(0);

    auto *heading = new ElidedLabel(HowTo::heading(), Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 3.0, 0.36),
                                    {Kiv::Colour::inkSoft}, page);
    heading->setObjectName(QStringLiteral("howto.heading"));
    auto *headingRow = new QHBoxLayout;
    headingRow->setContentsMargins(kSide, 20, kSide, 4);
    headingRow->addWidget(heading);
    column->addLayout(headingRow);

    for (const HowTo::Section &section : std::as_const(sections))
        addSection(column, section);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (context.snapshot) {
        // A still picture shows every line: no scrolling, as tall as needed.
        column->addStretch(1);
        outer->addWidget(page);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("howto.scroll"));
        // The page scrolls by keys when focused; it bears the page's name.
        m_scroll->setAccessibleName(L("使い方"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setWidgetResizable(true);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        page->setAutoFillBackground(false);
        m_scroll->setWidget(page);
        outer->addWidget(m_scroll);
    }
}

void HowToView::addSection(QVBoxLayout *column, const HowTo::Section &section)
{
    QWidget *page = column->parentWidget();
    auto *header = new QHBoxLayout;
    header->setContentsMargins(kSide, 18, kSide, 6);
    header->setSpacing(8);
    header->addWidget(new ElidedLabel(section.title, Kiv::tracked(Kiv::font(12), 2.0, 0.24), {Kiv::Colour::inkSoft},
                                      page));
    header->addWidget(new SectionRule(page), 1, Qt::AlignVCenter);
    column->addLayout(header);

    auto *lines = new QVBoxLayout;
    lines->setContentsMargins(kSide, 0, kSide, 0);
    lines->setSpacing(6);
    const QFont font = Kiv::font(13, Kiv::Design::serif);
    for (const QString &text : section.lines) {
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        // The bullet shares the first line's baseline: same font, both at
        // the top of the row.
        auto *bullet = new ElidedLabel(HowTo::bullet(), font, {Kiv::Colour::inkGhost}, page);
        bullet->setFixedWidth(bullet->sizeHint().width());
        bullet->setAccessibleName(QString());
        row->addWidget(bullet, 0, Qt::AlignTop);
        auto *line = new ElidedLabel(text, font, {Kiv::Colour::ink}, page);
        line->setObjectName(QStringLiteral("howto.line"));
        line->setMaxLines(kMaxLines);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        row->addWidget(line, 1);
        lines->addLayout(row);
    }
    column->addLayout(lines);

    // The site button only where the build names a web page.
    if (section.web && !HowTo::siteURL().isEmpty()) {
        InkButton *site = textButton(*section.web, page);
        site->setObjectName(QStringLiteral("howto.site"));
        connect(site, &QAbstractButton::clicked, this, [this] {
            if (!m_context.snapshot)
                openWeb(HowTo::siteURL());
        });
        addButtonRow(column, site);
    }
    if (section.link) {
        InkButton *calendar = textButton(*section.link, page);
        calendar->setObjectName(QStringLiteral("howto.calendar"));
        calendar->hide();
        connect(calendar, &QAbstractButton::clicked, this, [this] {
            if (m_openSettings)
                m_openSettings();
        });
        m_settingsButtons << calendar;
        addButtonRow(column, calendar);
    }
}

void HowToView::setOpenSettings(std::function<void()> openSettings)
{
    m_openSettings = std::move(openSettings);
    for (InkButton *button : std::as_const(m_settingsButtons))
        button->setVisible(bool(m_openSettings));
}

bool HowToView::openWeb(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return false;
    return QDesktopServices::openUrl(url);
}

void HowToView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_paper->setGeometry(rect());
}
