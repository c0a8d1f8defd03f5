#pragma once

#include "platform/audio/AudioFileDecoder.h"
#include "platform/audio/AudioOutput.h"

#include <QString>
#include <memory>

// The program's sound output and file decoder. They live in a module of their
// own (libquillmere_audio.so, over Qt Multimedia, which brings the sound
// server's client and a dozen codec libraries) that is loaded when a sound is
// first wanted, not at start: the objects given here load it on first use.
// Without the module the output stays silent and the decoder decodes nothing,
// as with no audio device.
namespace AudioModule {

// An output for sound of that use, whose stream the sound server and its
// volume mixers show under streamName.
std::unique_ptr<AudioOutput> output(AudioUse use, const QString &streamName);
std::unique_ptr<AudioFileDecoder> decoder();

// The real output and decoder from the module, loading it if need be; null
// when it cannot be loaded.
std::unique_ptr<AudioOutput> loadOutput(AudioUse use, const QString &streamName);
std::unique_ptr<AudioFileDecoder> loadDecoder();

// Where the module was found (empty when it was not, or not yet looked for).
QString loadedFrom();

} // namespace AudioModule
