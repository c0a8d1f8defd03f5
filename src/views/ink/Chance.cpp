#include "views/ink/Chance.h"

namespace Chance {

QRandomGenerator &generator()
{
    static QRandomGenerator shared = QRandomGenerator::securelySeeded();
    return shared;
}

void seed(quint32 value)
{
    generator().seed(value);
}

} // namespace Chance
