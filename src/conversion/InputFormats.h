#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** The input formats that the converter reads, in the order in which they
    are tried. Shared by the converter and the fuzz target, so that both read
    user files through the same path. */
class InputFormats
{
public:
    /** Registers the five input formats with a manager, none as the default. */
    static void registerFormats (juce::AudioFormatManager& manager);

    /** Sample rates outside this range are not audio the resampler can take. */
    static constexpr double minSampleRate = 1.0;
    static constexpr double maxSampleRate = 10000000.0;

    /** The framework's writer and readers keep channel pointers in arrays of 256. */
    static constexpr int maxChannels = 255;
};
