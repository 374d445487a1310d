#pragma once

#include <juce_core/juce_core.h>

/** The header of the player's WAV files: 44 bytes (PCM) for one or two
    channels, 68 bytes (WAVE_FORMAT_EXTENSIBLE) for three or more, and the
    104-byte RF64 form once the data reaches 4 GiB. The framework's writer
    gets the RIFF size, the masks of nine or more channels and the RF64 form
    wrong, so the converter writes this header over the writer's. */
class WavFileHeader
{
public:
    /** The header bytes for the given layout and data size in bytes. */
    static juce::MemoryBlock create (int numChannels, int sampleRate, int bitsPerSample, juce::uint64 dataSize);

    /** The header's length for that layout, which is where the data starts. */
    static int getSize (int numChannels, juce::uint64 dataSize);

    /** The speaker mask written for a channel count (0 for nine or more). */
    static juce::uint32 getChannelMask (int numChannels);

    static constexpr juce::uint64 rf64Threshold = (juce::uint64) 1 << 32;
};
