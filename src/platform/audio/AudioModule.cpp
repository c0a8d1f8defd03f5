#include "platform/audio/AudioModule.h"

#include "platform/audio/LazyAudioFileDecoder.h"
#include "platform/audio/LazyAudioOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace {

using NewOutput = AudioOutput *(*)(int use, const char *streamName);
using NewDecoder = AudioFileDecoder *(*)();

struct Loaded
{
    bool tried = false;
    QString path;
    NewOutput newOutput = nullptr;
    NewDecoder newDecoder = nullptr;
};

Loaded &module()
{
    static Loaded loaded;
    if (loaded.tried)
        return loaded;
    loaded.tried = true;
    // Beside the program (the build folder), where it is installed
    // (<prefix>/lib/quillmere beside <prefix>/bin), then the build folder of
    // this build, for the tests and tools in its subfolders.
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList folders = {here, QDir::cleanPath(here + QStringLiteral("/../" QUILLMERE_AUDIO_MODULE_INSTALL_DIR)),
                                 QStringLiteral(QUILLMERE_AUDIO_MODULE_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = folder + QStringLiteral("/libquillmere_audio.so");
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        auto newOutput = reinterpret_cast<NewOutput>(library.resolve("quillmere_new_audio_output"));
        auto newDecoder = reinterpret_cast<NewDecoder>(library.resolve("quillmere_new_audio_file_decoder"));
        if (newOutput && newDecoder) {
            // Loaded for the rest of the run: the library is never unloaded.
            loaded = {true, path, newOutput, newDecoder};
            return loaded;
        }
        qWarning("audio module not usable: %s", qPrintable(library.errorString()));
    }
    qWarning("no audio module (libquillmere_audio.so) found: sounds stay silent");
    return loaded;
}

} // namespace

namespace AudioModule {

std::unique_ptr<AudioOutput> output(AudioUse use, const QString &streamName)
{
    return std::make_unique<LazyAudioOutput>([use, streamName] { return loadOutput(use, streamName); });
}

std::unique_ptr<AudioFileDecoder> decoder()
{
    return std::make_unique<LazyAudioFileDecoder>(&loadDecoder);
}

std::unique_ptr<AudioOutput> loadOutput(AudioUse use, const QString &streamName)
{
    const Loaded &m = module();
    return m.newOutput ? std::unique_ptr<AudioOutput>(m.newOutput(int(use), streamName.toUtf8().constData()))
                       : nullptr;
}

std::unique_ptr<AudioFileDecoder> loadDecoder()
{
    const Loaded &m = module();
    return m.newDecoder ? std::unique_ptr<AudioFileDecoder>(m.newDecoder()) : nullptr;
}

QString loadedFrom()
{
    return module().path;
}

} // namespace AudioModule
