#pragma once

#include "core/Kiv.h"

#include <QObject>

// Where the program learns whether the desktop wants light or dark windows.
class AppearanceSource : public QObject
{
    Q_OBJECT
public:
    explicit AppearanceSource(QObject *parent = nullptr)
        : QObject(parent)
    {
    }

    virtual Kiv::Appearance current() const = 0;

signals:
    // The desktop switched; current() already gives the new value.
    void changed(Kiv::Appearance appearance);
};
