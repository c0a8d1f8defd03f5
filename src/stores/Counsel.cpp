#include "stores/Counsel.h"

#include "core/L.h"

namespace Counsel {

const QString &title()
{
    static const QString text = L("AI に聞いてもらう");
    return text;
}

} // namespace Counsel
