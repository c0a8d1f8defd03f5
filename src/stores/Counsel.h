#pragma once

#include <QString>

// The settings window's ask-an-AI action.
namespace Counsel {
const QString &title(); // "AI に聞いてもらう"
}
