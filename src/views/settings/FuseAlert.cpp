#include "views/settings/FuseAlert.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/reading/Fuse.h"
#include "views/settings/SettingsStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <QVBoxLayout>

FuseAlert::FuseAlert(QWidget *parent)
    : InkDialog(parent)
{
    setObjectName(QStringLiteral("settings.offering.alert"));
    setWindowTitle(Fuse::alertTitle());
    setAccessibleName(Fuse::alertTitle());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 22, 24, 18);
    layout->setSpacing(12);
    auto *title = new TextBlock(Fuse::alertTitle(),
                                Kiv::tracked(Kiv::font(15, Kiv::Design::serif, QFont::Medium), 1.0, 0.2),
                                Tone{Kiv::Colour::ink});
    title->setObjectName(QStringLiteral("settings.offering.alertTitle"));
    layout->addWidget(title);
    auto *message = new TextBlock(Fuse::message(), SettingsStyle::captionFont(12.5), Tone{Kiv::Colour::inkSoft});
    message->setObjectName(QStringLiteral("settings.offering.alertMessage"));
    layout->addWidget(message);
    auto *close = SettingsStyle::button(Fuse::closing(), QStringLiteral("settings.offering.alertClose"));
    connect(close, &InkButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    // As wide as the message's longest line, so that its lines break where
    // the message breaks them; very large text wraps within a bound.
    const QFontMetricsF metrics(SettingsStyle::captionFont(12.5));
    double widest = 0;
    for (const QString &line : Fuse::message().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    setFixedWidth(std::clamp(int(std::ceil(widest)) + 48 + 8, 320, 600));
}

void FuseAlert::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Kiv::paperRaised());
}

void FuseAlert::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Exactly as tall as its texts at its width: no gap between them.
    resize(width(), layout()->totalHeightForWidth(width()));
}
