#include "platform/fakes/FakeAppearance.h"

FakeAppearance::FakeAppearance(Kiv::Appearance start, QObject *parent)
    : AppearanceSource(parent)
    , m_current(start)
{
}

void FakeAppearance::set(Kiv::Appearance appearance)
{
    if (appearance == m_current)
        return;
    m_current = appearance;
    emit changed(appearance);
}
