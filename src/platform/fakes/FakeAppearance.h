#pragma once

#include "platform/desktop/AppearanceSource.h"

// An appearance set by hand: tests and still pictures force light or dark.
class FakeAppearance : public AppearanceSource
{
    Q_OBJECT
public:
    explicit FakeAppearance(Kiv::Appearance start = Kiv::Appearance::light, QObject *parent = nullptr);

    Kiv::Appearance current() const override { return m_current; }
    // Emits changed() when the value differs.
    void set(Kiv::Appearance appearance);

private:
    Kiv::Appearance m_current;
};
