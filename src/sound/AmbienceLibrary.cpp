#include "sound/AmbienceLibrary.h"

#include "platform/files/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace AmbienceLibrary {
namespace {

// Unicode code-point order after NFC normalisation (not UTF-16 unit order).
int compareText(const QString &a, const QString &b)
{
    const QList<uint> x = a.normalized(QString::NormalizationForm_C).toUcs4();
    const QList<uint> y = b.normalized(QString::NormalizationForm_C).toUcs4();
    const auto [ix, iy] = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
    if (ix == x.end())
        return iy == y.end() ? 0 : -1;
    if (iy == y.end())
        return 1;
    return *ix < *iy ? -1 : 1;
}

bool accepted(const QFileInfo &info) { return extensions().contains(info.suffix().toLower()); }

Sound soundAt(const QString &path)
{
    return Sound{QFileInfo(path).completeBaseName(), QUrl::fromLocalFile(path)};
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a);
    QFile fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 1 << 16;
    while (!fa.atEnd()) {
        if (fa.read(chunk) != fb.read(chunk))
            return false;
    }
    return true;
}

} // namespace

const QSet<QString> &extensions()
{
    static const QSet<QString> set = {QStringLiteral("mp3"),  QStringLiteral("m4a"), QStringLiteral("aac"),
                                      QStringLiteral("wav"),  QStringLiteral("aiff"), QStringLiteral("aif"),
                                      QStringLiteral("caf"),  QStringLiteral("flac")};
    return set;
}

QString folderPath()
{
    const QString path = AppPaths::dataDir() + QStringLiteral("/Sounds");
    AppPaths::ensureDir(path);
    return path;
}

QList<Sound> sounds()
{
    const QDir dir(folderPath());
    if (!dir.exists())
        return {};
    // Hidden files are skipped (no QDir::Hidden).
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    QList<std::pair<Sound, QString>> found;
    for (const QFileInfo &info : entries) {
        if (accepted(info))
            found.append({soundAt(info.absoluteFilePath()), info.fileName()});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        const int byName = compareText(a.first.name, b.first.name);
        return byName != 0 ? byName < 0 : compareText(a.second, b.second) < 0;
    });
    QList<Sound> result;
    result.reserve(found.size());
    for (const auto &entry : found)
        result.append(entry.first);
    return result;
}

std::optional<Sound> sound(const std::optional<QString> &name)
{
    if (!name)
        return std::nullopt;
    for (const Sound &s : sounds()) {
        if (s.name == *name)
            return s;
    }
    return std::nullopt;
}

std::optional<Sound> add(const QString &sourcePath)
{
    const QFileInfo source(sourcePath);
    if (!accepted(source) || !source.isFile())
        return std::nullopt;
    const QString folder = folderPath();
    const QString base = source.completeBaseName();
    const QString suffix = source.suffix();
    const QString dest = folder + QLatin1Char('/') + source.fileName();

    if (QFileInfo::exists(dest) && (QFileInfo(dest).canonicalFilePath() == source.canonicalFilePath()
                                    || sameBytes(dest, source.absoluteFilePath())))
        return soundAt(dest);

    // A name is taken when a file of that name exists or a listed sound has it.
    QSet<QString> takenNames;
    for (const Sound &s : sounds())
        takenNames.insert(s.name);
    QString name = base;
    QString target = dest;
    for (int n = 2; QFileInfo::exists(target) || takenNames.contains(name); ++n) {
        name = base + QLatin1Char(' ') + QString::number(n);
        target = folder + QLatin1Char('/') + name + QLatin1Char('.') + suffix;
        // Added before under this free name: that copy is the sound.
        if (QFileInfo::exists(target) && sameBytes(target, source.absoluteFilePath()))
            return soundAt(target);
    }
    if (!QFile::copy(source.absoluteFilePath(), target))
        return std::nullopt;
    return soundAt(target);
}

void remove(const Sound &sound)
{
    if (sound.url.isLocalFile())
        QFile::remove(sound.url.toLocalFile());
}

} // namespace AmbienceLibrary

size_t qHash(const AmbienceLibrary::Sound &sound, size_t seed)
{
    return qHashMulti(seed, sound.name, sound.url);
}
