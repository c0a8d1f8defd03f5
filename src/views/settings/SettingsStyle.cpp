#include "views/settings/SettingsStyle.h"

#include "core/Kiv.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"

#include <QHBoxLayout>

namespace SettingsStyle {

QFont labelFont()
{
    return Kiv::font(13);
}

QFont captionFont(double size)
{
    return Kiv::font(size);
}

namespace {

TextBlock *text(const QString &content, Kiv::Colour colour, double opacity, QWidget *parent)
{
    return new TextBlock(content, captionFont(), Tone{colour, opacity}, parent);
}

} // namespace

TextBlock *caption(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::inkFaint, 1.0, parent);
}

TextBlock *description(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::inkSoft, 1.0, parent);
}

TextBlock *plainText(const QString &content, QWidget *parent)
{
    return text(content, Kiv::Colour::ink, 1.0, parent);
}

TextBlock *errorText(QWidget *parent)
{
    return text(QString(), Kiv::Colour::vermilion, 0.9, parent);
}

InkButton *button(const QString &label, const QString &objectName, QWidget *parent)
{
    InkLook look = InkLook::capsule(Kiv::font(12.5), Tone{Kiv::Colour::ink}, Tone{Kiv::Colour::ink},
                                    Tone{Kiv::Colour::paperRaised}, Tone{Kiv::Colour::indigo, 0.06},
                                    Tone{Kiv::Colour::hairline}, Tone{Kiv::Colour::indigo, 0.45});
    look.shape = InkLook::Shape::rounded;
    look.cornerRadius = 6;
    look.padding = QMarginsF(12, 4, 12, 4);
    auto *b = new InkButton(label, look, parent);
    b->setObjectName(objectName);
    return b;
}

InkButton *link(const QString &label, const QString &objectName, QWidget *parent)
{
    InkLook look = InkLook::plain(Kiv::font(12), Tone{Kiv::Colour::indigo}, Tone{Kiv::Colour::indigo, 0.75});
    look.padding = QMarginsF(0, 2, 0, 2);
    auto *b = new InkButton(label, look, parent);
    b->setObjectName(objectName);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QHBoxLayout *buttonRow(const QList<QWidget *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    for (QWidget *b : buttons)
        row->addWidget(b, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

} // namespace SettingsStyle
