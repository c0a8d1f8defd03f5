#include "views/settings/FuseAlert.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/reading/Fuse.h"
#include "views/settings/SettingsStyle.h"

#include <QPainter>
#include <QVBoxLayout>

FuseAlert::FuseAlert(QWidget *parent)
    : QDialog(parent)
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
    setFixedWidth(360);
}

void FuseAlert::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Kiv::paperRaised());
}
