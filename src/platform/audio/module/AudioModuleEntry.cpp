// What the audio module offers the program: its output, on the desktop's
// sound server, and its file decoder, made with Qt Multimedia. The program
// loads the module (and with it the sound server's client library, Qt
// Multimedia and its codec libraries) only when a sound is first wanted; see
// AudioModule.
#include "platform/audio/module/PulseAudioOutput.h"
#include "platform/audio/module/QtAudioFileDecoder.h"

extern "C" Q_DECL_EXPORT AudioOutput *quillmere_new_audio_output(int use, const char *streamName)
{
    return new PulseAudioOutput(AudioUse(use), QByteArray(streamName));
}

extern "C" Q_DECL_EXPORT AudioFileDecoder *quillmere_new_audio_file_decoder()
{
    return new QtAudioFileDecoder;
}
