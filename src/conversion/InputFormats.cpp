#include "InputFormats.h"

#include "FFmpegAudioFormat.h"
#include "GuardedAudioFormat.h"

void InputFormats::registerFormats (juce::AudioFormatManager& manager)
{
    // The framework's four formats, each behind the checks that its reader lacks.
    manager.registerFormat (new GuardedAudioFormat (GuardedAudioFormat::Kind::wav), false);
    manager.registerFormat (new GuardedAudioFormat (GuardedAudioFormat::Kind::aiff), false);
    manager.registerFormat (new GuardedAudioFormat (GuardedAudioFormat::Kind::flac), false);
    manager.registerFormat (new GuardedAudioFormat (GuardedAudioFormat::Kind::oggVorbis), false);

    // In the place of the platform's Windows Media runtime, which Linux lacks.
    manager.registerFormat (new FFmpegAudioFormat(), false);
}
