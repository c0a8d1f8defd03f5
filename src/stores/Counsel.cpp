#include "stores/Counsel.h"

#include "core/L.h"
#include "core/PerLanguage.h"

namespace Counsel {

const QString &title()
{
    static PerLanguage<QString> text;
    return text([] { return L("AI に聞いてもらう"); });
}

} // namespace Counsel
