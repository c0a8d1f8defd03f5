#include "views/daily/SweepReviewPage.h"

#include "core/L.h"
#include "stores/Sweep.h"
#include "views/daily/SweepHeadings.h"
#include "views/daily/SweepParts.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace SweepParts;

SweepReviewPage::SweepReviewPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sweep.asking"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(this);
    outer->addWidget(m_content);
    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new SweepHeadings(0, m_content), 0, Qt::AlignHCenter);
    gap(column, 26);
    line(column, L(QStringLiteral("これは、まだ自分のものですか")), Kiv::tracked(Kiv::font(12), 2, 0.24),
         {Kiv::Colour::inkSoft}, 0)
        ->setObjectName(QStringLiteral("sweep.question"));
    m_title = block(column, QString(), Kiv::font(26, Kiv::Design::serif), {Kiv::Colour::ink}, 20);
    m_title->setObjectName(QStringLiteral("sweep.taskTitle"));
    m_reason = line(column, QString(), Kiv::font(11), {Kiv::Colour::inkFaint}, 10);
    m_reason->setObjectName(QStringLiteral("sweep.reason"));

    gap(column, 30);
    auto *choices = new QHBoxLayout;
    choices->setSpacing(14);
    choices->addStretch(1);
    InkButton *keep = choice(L(QStringLiteral("そのまま|払い")), {Kiv::Colour::inkSoft}, m_content);
    keep->setObjectName(QStringLiteral("sweep.keep"));
    InkButton *setDown = choice(L(QStringLiteral("下ろす")), {Kiv::Colour::inkSoft}, m_content);
    setDown->setObjectName(QStringLiteral("sweep.setDown"));
    choices->addWidget(keep);
    choices->addWidget(setDown);
    choices->addStretch(1);
    column->addLayout(choices);
    connect(keep, &QAbstractButton::clicked, this, [this] { emit answered(true); });
    connect(setDown, &QAbstractButton::clicked, this, [this] { emit answered(false); });

    block(column, L(QStringLiteral("下ろしたものは消えません。作務の「放下したもの」に残り、いつでも戻せます。")),
          Kiv::font(10), {Kiv::Colour::inkFaint}, 14);
    m_position = line(column, QString(), Kiv::font(10), {Kiv::Colour::inkGhost}, 18);
    m_position->setObjectName(QStringLiteral("sweep.position"));
}

void SweepReviewPage::refresh(const SweepFlow::Sweeping &sweeping, const std::optional<LocalTask> &task,
                              const QDateTime &now)
{
    m_content->setVisible(task.has_value());
    if (!task)
        return;
    m_title->setText(task->title);
    m_reason->setText(Sweep::reason(*task, now));
    m_position->setText(SweepFlow::position(sweeping));
}
