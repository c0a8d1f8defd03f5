#include "support/ProgramTexts.h"

#include "core/English.h"
#include "support/KeptInJapanese.h"

namespace ProgramTexts {

QStringList japanese()
{
    QStringList texts;
    for (const English::Pair &row : English::pairs()) {
        const QString key = QString::fromUtf8(row.japanese);
        const QStringList parts = key.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        texts << (parts.isEmpty() ? key : parts.first());
    }
    for (const QString &key : KeptInJapanese::keys())
        texts << key;
    return texts;
}

QStringList english()
{
    QStringList texts;
    for (const English::Pair &row : English::pairs())
        texts << QString::fromUtf8(row.english);
    return texts;
}

QStringList all()
{
    return japanese() + english();
}

} // namespace ProgramTexts
