#include "app/SheetDialog.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/InkButton.h"

#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {
// Kept free around a sheet on the smallest screens.
constexpr int kScreenMargin = 16;
} // namespace

SheetDialog::SheetDialog(QWidget *page, QSizeF wanted, QWidget *parent)
    : InkDialog(parent)
    , m_page(page)
    , m_wanted(int(std::round(wanted.width() * Kiv::scale())), int(std::round(wanted.height() * Kiv::scale())))
{
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    page->setParent(this);
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The page is laid out in the frame; any size it asks for beyond the
    // frame is scrolled by the page itself.
    page->setMinimumSize(0, 0);
    column->addWidget(page, 1);
    InkLook look = InkLook::plain(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    look.opacityHover = 0.75;
    look.padding = QMarginsF(12, 6, 12, 6);
    m_close = new InkButton(L("閉じる"), look, this);
    m_close->setAccessibleName(m_close->text());
    m_close->setObjectName(QStringLiteral("sheet.close"));
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);
    column->addWidget(m_close, 0, Qt::AlignHCenter);
    column->addSpacing(14 - 6);
    resize(m_wanted);
}

QSize SheetDialog::fit(QSize wanted, QRect available)
{
    if (!available.isValid())
        return wanted;
    const QSize room(std::max(1, available.width() - 2 * kScreenMargin),
                     std::max(1, available.height() - 2 * kScreenMargin));
    return wanted.boundedTo(room);
}

void SheetDialog::present()
{
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen *screen = owner && owner->screen() ? owner->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize size = fit(m_wanted, available);
    setFixedSize(size);
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(owner ? owner->frameGeometry().center() : available.center());
    if (available.isValid()) {
        // Keep it wholly on the screen.
        frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - size.width())));
        frame.moveTop(std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - size.height())));
    }
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
}

void SheetDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Kiv::paper());
}
