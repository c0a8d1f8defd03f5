// What a desktop and a software centre read about the program: the desktop
// entry and the AppStream metainfo, each checked by its own validator where
// the tool is installed, and read back for what they must say.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString sourceDir = QStringLiteral(QUILLMERE_SOURCE_DIR);
const QString buildDir = QStringLiteral(QUILLMERE_BUILD_DIR);
const QString desktopEntry = sourceDir + QStringLiteral("/data/quillmere.desktop");

struct Outcome
{
    bool finished = false;
    int status = -1;
    QString output;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Outcome r;
    r.finished = process.waitForFinished(60000);
    if (!r.finished)
        process.kill();
    r.status = process.exitCode();
    r.output = QString::fromUtf8(process.readAll());
    return r;
}

// "key" or "key[ja]" to value, from the [Desktop Entry] group.
QMap<QString, QString> readDesktopEntry()
{
    QMap<QString, QString> keys;
    QFile file(desktopEntry);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

TEST(DesktopEntryTest, ValidAndInBothLanguages)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        const Outcome r = run(validator, {desktopEntry});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.output.trimmed().isEmpty()) << r.output.toStdString();
    }
    const QMap<QString, QString> keys = readDesktopEntry();
    EXPECT_EQ(keys.value(QStringLiteral("Exec")), QStringLiteral("quillmere"));
    EXPECT_EQ(keys.value(QStringLiteral("Icon")), QStringLiteral("quillmere"));
    EXPECT_TRUE(QFileInfo::exists(sourceDir + QStringLiteral("/data/icons/quillmere.svg")));
    // The window is always called "Quillmere", in Japanese too.
    EXPECT_EQ(keys.value(QStringLiteral("Name[ja]")), QStringLiteral("Quillmere"));
    for (const char *key : {"Comment[ja]", "GenericName[ja]", "Keywords", "Keywords[ja]"})
        EXPECT_FALSE(keys.value(QString::fromLatin1(key)).isEmpty()) << key;
    EXPECT_TRUE(keys.value(QStringLiteral("Keywords[ja]")).contains(QStringLiteral("タイマー")));
    if (validator.isEmpty())
        GTEST_SKIP() << "read back, but not validated: no desktop-file-validate (desktop-file-utils)";
}

// What a metainfo file says, read back.
struct Metainfo
{
    QString id;
    QString launchable;
    QString release;
    QString releaseDate;
    QMap<QString, QString> summaries; // by language, "" for English
    QMap<QString, int> paragraphs;    // by language
    QString homepage;
    QStringList images;
    QString error;
};

Metainfo readMetainfo(const QString &path)
{
    Metainfo m;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m.error = QStringLiteral("cannot read ") + path;
        return m;
    }
    QXmlStreamReader xml(&file);
    bool inDescription = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("description"))
            inDescription = false;
        if (!xml.isStartElement())
            continue;
        const QString lang = xml.attributes().value(QStringLiteral("xml:lang")).toString();
        const QStringView name = xml.name();
        if (name == QLatin1String("description")) {
            inDescription = true;
        } else if (name == QLatin1String("p") && inDescription) {
            ++m.paragraphs[lang];
        } else if (name == QLatin1String("release")) {
            m.release = xml.attributes().value(QStringLiteral("version")).toString();
            m.releaseDate = xml.attributes().value(QStringLiteral("date")).toString();
        } else if (name == QLatin1String("id")) {
            m.id = xml.readElementText();
        } else if (name == QLatin1String("launchable")) {
            m.launchable = xml.readElementText();
        } else if (name == QLatin1String("summary")) {
            m.summaries.insert(lang, xml.readElementText());
        } else if (name == QLatin1String("url")) {
            m.homepage = xml.readElementText();
        } else if (name == QLatin1String("image")) {
            m.images << xml.readElementText();
        }
    }
    if (xml.hasError())
        m.error = xml.errorString();
    return m;
}

class MetainfoTest : public ::testing::Test
{
protected:
    // Validates with appstreamcli, offline; empty when valid or when the tool is missing.
    static QString invalid(const QString &path)
    {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (validator.isEmpty())
            return {};
        const Outcome r = run(validator, {QStringLiteral("validate"), QStringLiteral("--no-net"), path});
        if (!r.finished)
            return QStringLiteral("appstreamcli did not finish");
        return r.status == 0 ? QString() : r.output;
    }

    static bool validated() { return !QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty(); }

    // The metainfo written afresh with a web page, as a build with one writes it.
    QString writeWithWebPage(const QString &page)
    {
        const QString out = dir.filePath(QStringLiteral("with-page.metainfo.xml"));
        const Outcome r = run(QStringLiteral(QUILLMERE_CMAKE_COMMAND),
                          {QStringLiteral("-DMETAINFO_OUTPUT=") + out,
                           QStringLiteral("-DMETAINFO_APP_ID=" QUILLMERE_APP_ID),
                           QStringLiteral("-DMETAINFO_VERSION=" QUILLMERE_VERSION),
                           QStringLiteral("-DMETAINFO_DATE=" QUILLMERE_RELEASE_DATE),
                           QStringLiteral("-DMETAINFO_WEB_PAGE=") + page, QStringLiteral("-P"),
                           sourceDir + QStringLiteral("/data/metainfo.cmake")});
        EXPECT_TRUE(r.finished && r.status == 0) << r.output.toStdString();
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(MetainfoTest, TheBuiltFileNamesTheEntryTheVersionAndSpeaksBothLanguages)
{
    const QString path = buildDir + QStringLiteral("/" QUILLMERE_APP_ID ".metainfo.xml");
    const Metainfo m = readMetainfo(path);
    ASSERT_TRUE(m.error.isEmpty()) << m.error.toStdString();
    EXPECT_EQ(m.id, QStringLiteral(QUILLMERE_APP_ID));
    EXPECT_EQ(m.launchable, QFileInfo(desktopEntry).fileName());
    EXPECT_EQ(m.release, QStringLiteral(QUILLMERE_VERSION));
    EXPECT_EQ(m.releaseDate, QStringLiteral(QUILLMERE_RELEASE_DATE));
    EXPECT_EQ(m.summaries.value(QString()), readDesktopEntry().value(QStringLiteral("Comment")));
    EXPECT_EQ(m.summaries.value(QStringLiteral("ja")), readDesktopEntry().value(QStringLiteral("Comment[ja]")));
    EXPECT_GE(m.paragraphs.value(QString()), 1);
    EXPECT_EQ(m.paragraphs.value(QStringLiteral("ja")), m.paragraphs.value(QString()));
    // The build names no web page: no address, and so no screenshots.
    EXPECT_TRUE(m.homepage.isEmpty());
    EXPECT_TRUE(m.images.isEmpty());
    const QString problems = invalid(path);
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
    if (!validated())
        GTEST_SKIP() << "read back, but not validated: no appstreamcli (appstream)";
}

TEST_F(MetainfoTest, WithAWebPageTheScreenshotsAreTheProjectsOwnPictures)
{
    ASSERT_TRUE(dir.isValid());
    const QString path = writeWithWebPage(QStringLiteral("https://127.0.0.1/quillmere/"));
    const Metainfo m = readMetainfo(path);
    ASSERT_TRUE(m.error.isEmpty()) << m.error.toStdString();
    EXPECT_EQ(m.homepage, QStringLiteral("https://127.0.0.1/quillmere/"));
    ASSERT_FALSE(m.images.isEmpty());
    const QString problems = invalid(path);
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();

    // Every picture named is one the snapshot tool writes.
    const QString snapshots = buildDir + QStringLiteral("/tools/snapshots");
    if (!QFileInfo(snapshots).isExecutable())
        GTEST_SKIP() << "no snapshot tool at " << snapshots.toStdString();
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    const QString prefix = QStringLiteral("https://127.0.0.1/quillmere/screenshots/");
    // A picture is "<screen>-<theme>-<scale>-<language>.png": the tool draws
    // each screen named, in every theme, scale and language.
    static const QRegularExpression picture(QStringLiteral("^([a-z-]+)-(light|dark)-[0-9.]+-(en|ja)\\.png$"));
    QStringList screens;
    for (const QString &image : m.images) {
        ASSERT_TRUE(image.startsWith(prefix)) << image.toStdString();
        const QRegularExpressionMatch match = picture.match(image.mid(prefix.size()));
        ASSERT_TRUE(match.hasMatch()) << image.toStdString();
        if (!screens.contains(match.captured(1)))
            screens << match.captured(1);
    }
    for (const QString &screen : screens) {
        const Outcome made = run(snapshots, {pictures, screen});
        ASSERT_TRUE(made.finished && made.status == 0) << made.output.toStdString();
    }
    for (const QString &image : m.images)
        EXPECT_TRUE(QFileInfo::exists(pictures + QLatin1Char('/') + image.mid(prefix.size()))) << image.toStdString();
}

} // namespace
