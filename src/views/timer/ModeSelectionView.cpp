#include "views/timer/ModeSelectionView.h"

#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "model/RootTab.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkDialog.h"
#include "views/ink/KaresansuiView.h"
#include "views/ink/SayingView.h"
#include "views/timer/ModeCard.h"
#include "views/timer/ModeRow.h"
#include "views/timer/Padded.h"
#include "views/timer/RoundsPicker.h"
#include "views/timer/TaskTitleField.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

namespace {

ElidedLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new ElidedLabel(text, Kiv::tracked(Kiv::font(13, Kiv::Design::serif), 6, 0.72),
                                  Tone{Kiv::Colour::inkSoft}, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

ModeSelectionView::ModeSelectionView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer.modeSelection"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    QWidget *column = buildColumn();
    if (context.snapshot) {
        outer->addWidget(column);
        return;
    }
    // The column fills the visible height (the gaps take the rest) and
    // scrolls when the window is shorter than it.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("timer.modeSelection.scroll"));
    scroll->setAccessibleName(L(titleKey(RootTab::pomodoro)));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->setAutoFillBackground(false);
    column->setAutoFillBackground(false);
    scroll->setWidget(column);
    outer->addWidget(scroll);
}

QWidget *ModeSelectionView::buildColumn()
{
    auto *column = new QWidget(this);
    auto *stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    auto *garden = new KaresansuiView(68, true, column);
    garden->setObjectName(QStringLiteral("timer.modeSelection.garden"));
    Padded::add(stack, garden, QMargins(20, 8, 20, 0));

    auto *first = heading(L(QStringLiteral("何にとりかかりますか")), column);
    first->setObjectName(QStringLiteral("timer.modeSelection.whatHeading"));
    Padded::add(stack, first, QMargins(0, 10, 0, 0));

    m_title = new TaskTitleField(m_context, L(QStringLiteral("たとえば、原稿を書く")), true, column);
    Padded::add(stack, m_title, QMargins(40, 14, 40, 0));

    stack->addSpacing(14);
    stack->addStretch(1);

    auto *second = heading(L(QStringLiteral("どう進めますか")), column);
    second->setObjectName(QStringLiteral("timer.modeSelection.howHeading"));
    Padded::add(stack, second, QMargins(0, 0, 0, 10));

    // The cards keep room for their shadows inside themselves, so the
    // stack's spacing and side padding are that much smaller.
    const QMargins room = ModeRow::shadowRoom();
    auto *cards = new QVBoxLayout;
    cards->setContentsMargins(12 - room.left(), 0, 12 - room.right(), 0);
    cards->setSpacing(6 - room.top() - room.bottom());
    const AppSettings &settings = m_context.model ? m_context.model->settings() : AppSettings::sharedInstance();
    for (const ModeCard &card : ModeCard::all(settings)) {
        if (card.setApart)
            cards->addSpacing(int(std::round(14 * Kiv::scale())));
        auto *row = new ModeRow(card, column);
        m_cards << row;
        cards->addWidget(row);
        connect(row, &QAbstractButton::clicked, this, [this, row] { choose(row); });
    }
    stack->addLayout(cards);

    stack->addSpacing(32);
    stack->addStretch(1);
    auto *saying = new SayingView(column);
    saying->setObjectName(QStringLiteral("timer.modeSelection.saying"));
    Padded::add(stack, saying, QMargins(20, 0, 20, 0));
    stack->addSpacing(16);
    stack->addStretch(1);
    return column;
}

void ModeSelectionView::choose(ModeRow *card)
{
    if (card->card().opensRoundsPicker) {
        openRoundsPicker();
        return;
    }
    if (m_context.model)
        m_context.model->begin(card->card().mode);
}

RoundsPicker *ModeSelectionView::roundsPicker() const
{
    return m_sheet ? m_sheet->findChild<RoundsPicker *>() : nullptr;
}

void ModeSelectionView::openRoundsPicker()
{
    if (m_sheet)
        return;
    auto *sheet = new InkDialog(this, Qt::Sheet | Qt::Dialog);
    sheet->setObjectName(QStringLiteral("timer.roundsSheet"));
    sheet->setWindowTitle(L(QStringLiteral("どれを回りますか")));
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    // The sheet never opens larger than the screen: it scrolls instead.
    auto *scroll = new QScrollArea(sheet);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *picker = new RoundsPicker(m_context, scroll);
    scroll->setWidget(picker);
    layout->addWidget(scroll);
    connect(picker, &RoundsPicker::dismissRequested, sheet, &QDialog::close);
    // The sheet is as wide as the picker (its fixed width, or the screen's
    // when that is narrower) and never narrower; as tall as the picker asks,
    // within the screen. Its buttons are never cut: where the screen is too
    // short the whole sheet scrolls.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    picker->setFixedWidth(std::min(picker->width(), room.width() - bar));
    QSize size(picker->width(), picker->minimumSizeHint().height());
    size.setHeight(std::max({size.height(), picker->sizeHint().height(),
                             picker->hasHeightForWidth() ? picker->heightForWidth(size.width()) : 0}));
    const bool scrolls = size.height() > room.height();
    size = QSize(size.width() + (scrolls ? bar : 0), std::min(size.height(), room.height()));
    sheet->setMinimumWidth(size.width());
    sheet->resize(size);
    m_sheet = sheet;
    sheet->open();
}
