// The show's music: synthesised by our own instruments and score, then encoded as MP3.
#include "tools/datagen/soundtrack.h"

#include "tools/common/mp3_encoder.h"
#include "tools/datagen/synth_dsp.h"
#include "tools/datagen/synth_score.h"

bool writeSoundtrack(const char* path) {
    const std::vector<std::int16_t> pcm = synth::renderSoundtrack();
    // The LAME tag lets the show's decoder drop the encoder's delay, so that the decoded music
    // starts on the beat grid's time 0.
    const Mp3Settings settings{.kilobitsPerSecond = 192, .quality = 5, .gaplessTag = true};
    return writeMp3File(path, pcm, synth::sampleRate, settings);
}
