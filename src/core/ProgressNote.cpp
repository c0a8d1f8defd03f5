#include "core/TaskSource.h"

namespace ProgressNote {

namespace {
const QString kStopwatch = QStringLiteral("⏱");

// Only spaces, tabs and other space separators; a line holding a line or
// paragraph separator (or any other break) is not blank.
bool isBlankLine(const QString &line)
{
    for (QChar c : line)
        if (c != QLatin1Char('\t') && c.category() != QChar::Separator_Space)
            return false;
    return true;
}
} // namespace

QString dayString(const QDateTime &date)
{
    return date.toLocalTime().date().toString(QStringLiteral("yyyy-MM-dd"));
}

QString line(const TaskProgress &progress)
{
    return kStopwatch + QLatin1Char(' ') + dayString(progress.day) + QStringLiteral(" 集中")
           + QString::number(progress.sessions) + QStringLiteral("回 ") + QString::number(progress.minutes)
           + QStringLiteral("分（Quillmere）");
}

QString merged(const std::optional<QString> &notes, const TaskProgress &progress)
{
    const QString newLine = line(progress);
    if (!notes || notes->isEmpty())
        return newLine;
    const QString prefix = kStopwatch + QLatin1Char(' ') + dayString(progress.day) + QLatin1Char(' ');
    QStringList lines = notes->split(QLatin1Char('\n'));
    for (QString &l : lines) {
        if (l.startsWith(prefix)) {
            l = newLine;
            return lines.join(QLatin1Char('\n'));
        }
    }
    while (!lines.isEmpty() && isBlankLine(lines.last()))
        lines.removeLast();
    lines.append(newLine);
    return lines.join(QLatin1Char('\n'));
}

QString userText(const std::optional<QString> &notes)
{
    if (!notes)
        return QString();
    QStringList kept;
    for (const QString &l : notes->split(QLatin1Char('\n')))
        if (!l.startsWith(kStopwatch))
            kept << l;
    return kept.join(QLatin1Char('\n')).trimmed();
}

std::optional<QString> replacingUserText(const QString &text, const std::optional<QString> &notes)
{
    QStringList progress;
    for (const QString &l : notes.value_or(QString()).split(QLatin1Char('\n')))
        if (l.startsWith(kStopwatch))
            progress << l;
    QStringList out;
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        out << trimmed;
    out << progress;
    const QString joined = out.join(QLatin1Char('\n'));
    if (joined.isEmpty())
        return std::nullopt;
    return joined;
}

} // namespace ProgressNote
