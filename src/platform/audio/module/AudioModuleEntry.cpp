// What the audio module offers the program: its output and its file decoder,
// made with Qt Multimedia. The program loads the module (and Qt Multimedia
// with its sound server and codec libraries) only when a sound is first
// wanted; see AudioModule.
#include "platform/audio/module/QtAudioFileDecoder.h"
#include "platform/audio/module/QtAudioOutput.h"

extern "C" Q_DECL_EXPORT AudioOutput *quillmere_new_audio_output()
{
    return new QtAudioOutput;
}

extern "C" Q_DECL_EXPORT AudioFileDecoder *quillmere_new_audio_file_decoder()
{
    return new QtAudioFileDecoder;
}
