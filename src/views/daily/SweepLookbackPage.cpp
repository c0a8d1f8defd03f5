#include "views/daily/SweepLookbackPage.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "stores/DayNoteStore.h"
#include "stores/Lookback.h"
#include "views/daily/LookbackRow.h"
#include "views/daily/SweepFlow.h"
#include "views/daily/SweepParts.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

using namespace SweepParts;

namespace {

// The widest a block of the page grows (times the text scale), besides
// its sides.
constexpr double kMaxWidth = 420;
// The tallest the days list stands before it scrolls (times the text scale).
constexpr double kWordsHeight = 200;

// A block centred in the page, at most 420 wide (times the scale) within
// its 32-point sides.
QWidget *bounded(QVBoxLayout *column, int top)
{
    gap(column, top);
    auto *content = new QWidget(column->parentWidget());
    content->setMaximumWidth(int(std::ceil(kMaxWidth * Kiv::scale())) + 2 * kSide);
    content->setContentsMargins(kSide, 0, kSide, 0);
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(content, 1000);
    row->addStretch(1);
    column->addLayout(row);
    return content;
}

void clear(QLayout *layout)
{
    while (QLayoutItem *item = layout->takeAt(0)) {
        if (QWidget *w = item->widget())
            w->deleteLater();
        else if (QLayout *inner = item->layout())
            clear(inner);
        delete item;
    }
}

// A line of words with its mark ("朝" or "暮"), the two on one baseline.
void addWordLine(QVBoxLayout *entry, const QString &mark, const QString &text)
{
    QWidget *parent = entry->parentWidget();
    const QFont markFont = Kiv::font(12, Kiv::Design::serif);
    const QFont textFont = Kiv::font(14, Kiv::Design::serif);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    auto *markLabel = new ElidedLabel(mark, markFont, {Kiv::Colour::inkGhost}, parent);
    markLabel->setMinimumWidth(markLabel->sizeHint().width());
    markLabel->setAccessibleName(QString());
    // Lower the mark so its baseline meets the first line of the text.
    const double drop = Kiv::baselineFor(textFont, Kiv::lineHeight(textFont) / 2)
                        - Kiv::baselineFor(markFont, Kiv::lineHeight(markFont) / 2);
    markLabel->setContentsMargins(0, 0, 0, 0);
    auto *markColumn = new QVBoxLayout;
    markColumn->setContentsMargins(0, std::max(0, int(std::lround(drop))), 0, 0);
    markColumn->addWidget(markLabel);
    markColumn->addStretch(1);
    row->addLayout(markColumn);
    auto *words = new TextBlock(text, textFont, {Kiv::Colour::ink}, parent);
    words->setObjectName(QStringLiteral("sweep.words"));
    row->addWidget(words, 1);
    entry->addLayout(row);
}

} // namespace

SweepLookbackPage::SweepLookbackPage(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("sweep.looking"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    line(column, L(QStringLiteral("かえりみ")), Kiv::tracked(Kiv::font(44, Kiv::Design::serif), 6, 0.72),
         {Kiv::Colour::ink}, 0);
    line(column, L(QStringLiteral("顧 ・ 前の四九日（しくにち）から、今日まで")), Kiv::tracked(Kiv::font(12), 1, 0.12),
         {Kiv::Colour::inkFaint}, 8);

    // The words block, left out altogether when no day has words.
    m_words = bounded(column, 0);
    m_words->setObjectName(QStringLiteral("sweep.wordsSection"));
    auto *words = new QVBoxLayout(m_words);
    words->setContentsMargins(0, 22, 0, 0);
    words->setSpacing(0);
    line(words, L(QStringLiteral("このあいだを、眺める。")), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::inkSoft},
         0);
    line(words, L(QStringLiteral("朝と暮に残した言葉を、もう一度。")), Kiv::font(10), {Kiv::Colour::inkFaint}, 4);
    gap(words, 14);
    m_wordsList = new QWidget;
    m_wordsList->setObjectName(QStringLiteral("sweep.wordsList"));
    auto *list = new QVBoxLayout(m_wordsList);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(14);
    if (m_context.snapshot) {
        m_wordsList->setParent(m_words);
        words->addWidget(m_wordsList);
    } else {
        m_scroll = new QScrollArea(m_words);
        m_scroll->setObjectName(QStringLiteral("sweep.wordsScroll"));
        // The words scroll by keys when focused; the list bears its heading.
        m_scroll->setAccessibleName(L(QStringLiteral("朝と暮に残した言葉を、もう一度。")));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_scroll->setWidgetResizable(true);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        m_wordsList->setAutoFillBackground(false);
        m_scroll->setWidget(m_wordsList);
        words->addWidget(m_scroll);
    }

    line(column, L(QStringLiteral("向き合ったもの")), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::inkSoft}, 28);
    m_empty = line(column, L(QStringLiteral("坐らなかった日にも、日は過ぎています。")), Kiv::font(11),
                   {Kiv::Colour::inkFaint}, 0);
    m_empty->setObjectName(QStringLiteral("sweep.noRounds"));
    m_empty->setContentsMargins(0, 12, 0, 0);
    m_empty->setFixedHeight(m_empty->sizeHint().height() + 12);
    m_empty->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_lines = bounded(column, 0);
    m_lines->setObjectName(QStringLiteral("sweep.lines"));
    auto *lines = new QVBoxLayout(m_lines);
    lines->setContentsMargins(0, 14, 0, 0);
    lines->setSpacing(10);

    m_next = button(column, QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::indigo}, 26);
    m_next->setObjectName(QStringLiteral("sweep.lookbackNext"));
    connect(m_next, &QAbstractButton::clicked, this, &SweepLookbackPage::advance);
}

void SweepLookbackPage::refresh()
{
    AppModel *model = m_context.model;
    if (!model)
        return;
    const Lookback::Summary summary = model->lookback();
    const QList<Lookback::DayWords> days = Lookback::words(model->days().notes(), summary.from, summary.to);

    QVBoxLayout *list = static_cast<QVBoxLayout *>(m_wordsList->layout());
    clear(list);
    for (const Lookback::DayWords &day : days) {
        auto *entry = new QVBoxLayout;
        entry->setSpacing(3);
        list->addLayout(entry);
        auto *label = new ElidedLabel(day.label(), Kiv::font(10), {Kiv::Colour::inkFaint}, m_wordsList);
        label->setObjectName(QStringLiteral("sweep.dayLabel"));
        entry->addWidget(label);
        if (day.morning)
            addWordLine(entry, L(QStringLiteral("朝")), *day.morning);
        if (day.evening)
            addWordLine(entry, L(QStringLiteral("暮")), *day.evening);
    }
    list->addStretch(1);
    m_words->setVisible(!days.isEmpty());

    QVBoxLayout *lines = static_cast<QVBoxLayout *>(m_lines->layout());
    clear(lines);
    const bool rounds = summary.sessions > 0;
    m_empty->setVisible(!rounds);
    m_lines->setVisible(rounds);
    if (rounds)
        for (const Lookback::Line &l : summary.lines)
            lines->addWidget(new LookbackRow(l, summary.minutes, m_lines));

    m_next->setText(SweepFlow::lookbackNext(model->sweeping()));
    m_next->setAccessibleName(m_next->text());
    fitWords();
}

void SweepLookbackPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitWords();
}

void SweepLookbackPage::fitWords()
{
    if (!m_scroll)
        return;
    // As tall as the days need, up to the limit; beyond it the list scrolls.
    const int width = std::max(1, m_scroll->width());
    const int needed = m_wordsList->layout()->totalHeightForWidth(width);
    const int limit = int(std::ceil(kWordsHeight * Kiv::scale()));
    m_scroll->setFixedHeight(std::min(std::max(needed, 0), limit));
}
