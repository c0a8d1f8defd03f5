#include "app/FooterBar.h"

#include "app/Pages.h"
#include "app/SheetDialog.h"
#include "core/Isshin.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "views/ink/InkButton.h"
#include "views/ink/Motion.h"
#include "views/reading/HowToView.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>

FooterBar::FooterBar(const ViewContext &context, WindowActions actions, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("root.footer"));
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(20, 0, 20, 0);
    m_row->setSpacing(14);
    m_row->addStretch(1);
    connect(addButton(Symbol::questionmarkCircle, L("使い方"), QStringLiteral("footer.howTo")),
            &QAbstractButton::clicked, this, &FooterBar::showHowTo);
    connect(addButton(Symbol::characterBookClosed, L("言葉のしおり"), QStringLiteral("footer.glossary")),
            &QAbstractButton::clicked, this, [this] { m_actions.open(QStringLiteral("glossary")); });
    connect(addButton(Symbol::listBullet, L("記録"), QStringLiteral("footer.history")), &QAbstractButton::clicked,
            this, [this] { m_actions.open(QStringLiteral("history")); });
    connect(addButton(Symbol::sliderHorizontal3, L("設定"), QStringLiteral("footer.settings")),
            &QAbstractButton::clicked, this, [this] { m_actions.settings(); });
    if (m_context.model)
        connect(m_context.model, &AppModel::showsSanshinFooterChanged, this, &FooterBar::refresh);
    refresh();
}

FooterBar::~FooterBar()
{
    delete m_howTo.data();
}

InkButton *FooterBar::addButton(Symbol symbol, const QString &name, const QString &objectName)
{
    const double size = 12 * Kiv::scale();
    InkLook look = InkLook::icon(symbol, size, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink},
                                 QSizeF(size + 8, size + 8));
    auto *button = new InkButton(this);
    button->setLook(look);
    button->setName(name);
    button->setObjectName(objectName);
    m_row->addWidget(button, 0, Qt::AlignVCenter);
    return button;
}

void FooterBar::refresh()
{
    const bool shows = m_context.model && m_context.model->showsSanshinFooter();
    if (shows == m_sanshinWanted && (shows ? m_sanshin != nullptr : true))
        return;
    m_sanshinWanted = shows;
    if (shows && !m_sanshin) {
        // Today's mind, taken when the line comes (it changes at midnight).
        m_sanshin = Pages::sanshinLine(m_context, Isshin::of(Clock::current().now()), this);
        m_sanshin->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        // Drawn through the effect only while it fades.
        m_sanshinOpacity = new QGraphicsOpacityEffect(m_sanshin);
        m_sanshinOpacity->setOpacity(0);
        m_sanshin->setGraphicsEffect(m_sanshinOpacity);
        m_row->insertWidget(0, m_sanshin, 0, Qt::AlignVCenter);
        m_sanshin->show(); // now, so that it fades in from the start
        m_sanshinFade.setValue(0);
    }
    if (!m_sanshin)
        return;
    // The line fades in and out over 0.25 s; once faded out it goes. A line
    // on its way out comes back from where its fade stands.
    m_sanshinFade.startTo(
        m_sanshin,
        [this] {
            if (!m_sanshin)
                return;
            const double level = m_sanshinFade.value();
            m_sanshinOpacity->setOpacity(level);
            m_sanshinOpacity->setEnabled(level < 1);
            if (!m_sanshinFade.isRunning() && level <= 0) {
                m_sanshin->hide();
                m_sanshin->deleteLater();
                m_sanshin = nullptr;
            }
        },
        shows ? 1 : 0, kSanshinFadeMs, Motion::easeInOut());
}

double FooterBar::sanshinOpacity() const
{
    return m_sanshin ? m_sanshinFade.value() : 0;
}

SheetDialog *FooterBar::howToSheet() const
{
    return m_howTo;
}

void FooterBar::showHowTo()
{
    if (m_howTo) {
        m_howTo->raise();
        m_howTo->activateWindow();
        return;
    }
    auto *page = new HowToView(m_context);
    page->setObjectName(QStringLiteral("sheet.howTo"));
    m_howTo = new SheetDialog(page, QSizeF(460, 620), window());
    m_howTo->setObjectName(QStringLiteral("root.howToSheet"));
    m_howTo->setWindowTitle(L("使い方"));
    m_howTo->setAttribute(Qt::WA_DeleteOnClose);
    // The calendar hint closes the sheet first, then opens the settings.
    page->setOpenSettings([this] {
        closeHowTo();
        m_actions.settings();
    });
    m_howTo->present();
}

void FooterBar::closeHowTo()
{
    if (m_howTo)
        m_howTo->close();
}
