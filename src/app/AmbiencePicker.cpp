#include "app/AmbiencePicker.h"

#include "app/AmbienceMenu.h"
#include "app/MenuFill.h"
#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "model/AppModel.h"

#include <QMenu>

AmbiencePicker::AmbiencePicker(const ViewContext &context, QWidget *parent)
    : InkButton(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("ambience.picker"));
    InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft});
    look.symbolSize = 9 * Kiv::scale();
    look.spacing = 5;
    look.hoverMs = 0;
    look.padding = QMarginsF(3, 2, 3, 2); // room for the keyboard's focus ring
    setLook(look);
    refresh();
    if (m_context.snapshot) {
        setFocusPolicy(Qt::NoFocus);
        return;
    }
    AppModel &model = *m_context.model;
    connect(&model, &AppModel::ambienceTitleChanged, this, &AmbiencePicker::refresh);
    connect(&model.settings(), &AppSettings::ambienceSceneChanged, this, &AmbiencePicker::refresh);
    connect(this, &QAbstractButton::clicked, this, &AmbiencePicker::openMenu);
}

void AmbiencePicker::refresh()
{
    const AmbienceMenu::Face face = AmbienceMenu::face(*m_context.model);
    InkLook look = this->look();
    look.symbol = face.silent ? Symbol::speakerSlash : Symbol::speakerWave2;
    setLook(look);
    setText(face.text);
    setAccessibleName(face.iconName);
    setAccessibleDescription(face.text);
    setToolTip(face.toolTip);
}

void AmbiencePicker::openMenu()
{
    if (m_context.snapshot)
        return;
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("ambience.menu"));
    }
    MenuFill::fill(m_menu, AmbienceMenu::entries(*m_context.model));
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}

void AmbiencePicker::showEvent(QShowEvent *event)
{
    // The user's sounds may have come or gone while it was hidden.
    if (!m_context.snapshot)
        refresh();
    InkButton::showEvent(event);
}
