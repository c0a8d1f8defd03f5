#include "platform/audio/AudioModule.h"

#include "platform/audio/LazyAudioFileDecoder.h"
#include "platform/audio/LazyAudioOutput.h"
#include "platform/modules/ModuleLibrary.h"

namespace {

using NewOutput = AudioOutput *(*)(int use, const char *streamName);
using NewDecoder = AudioFileDecoder *(*)();

struct Loaded
{
    QString path;
    NewOutput newOutput = nullptr;
    NewDecoder newDecoder = nullptr;
};

// Looked for once, when a sound is first wanted.
const Loaded &module()
{
    static const Loaded loaded = [] {
        const auto found = ModuleLibrary::load(
            QStringLiteral("libquillmere_audio.so"), {"quillmere_new_audio_output", "quillmere_new_audio_file_decoder"},
            "audio", "sounds stay silent");
        if (!found)
            return Loaded{};
        return Loaded{found->path, reinterpret_cast<NewOutput>(found->symbols.at(0)),
                      reinterpret_cast<NewDecoder>(found->symbols.at(1))};
    }();
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
