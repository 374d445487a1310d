#include "InputFormats.h"

#include "FFmpegAudioFormat.h"

void InputFormats::registerFormats (juce::AudioFormatManager& manager)
{
    manager.registerFormat (new juce::WavAudioFormat(), false);
    manager.registerFormat (new juce::AiffAudioFormat(), false);
    manager.registerFormat (new juce::FlacAudioFormat(), false);
    manager.registerFormat (new juce::OggVorbisAudioFormat(), false);

    // In the place of the platform's Windows Media runtime, which Linux lacks.
    manager.registerFormat (new FFmpegAudioFormat(), false);
}
