#pragma once

#include <functional>
#include <juce_audio_formats/juce_audio_formats.h>

/** Test inputs written with the framework's own writers, and the converter's
    output read back as bytes and 16-bit samples. */
namespace TestAudio
{
    using Generator = std::function<float (int channel, int frame)>;

    /** A quiet, channel-dependent ramp: every sample differs from its neighbours. */
    float ramp (int channel, int frame);

    juce::AudioBuffer<float> makeBuffer (int numChannels, int numFrames, const Generator& generator = ramp);

    /** Writes a WAV or AIFF file (by the file's extension) of the buffer. */
    void writeFile (const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate, int bitsPerSample);

    juce::File writeFile (const juce::File& file, int numChannels, int numFrames, double sampleRate, int bitsPerSample,
                          const Generator& generator = ramp);

    /** The whole file as the framework's WAV or AIFF reader decodes it. */
    juce::AudioBuffer<float> readFloats (const juce::File& file);

    juce::MemoryBlock readBytes (const juce::File& file);

    juce::uint32 readUInt32 (const juce::MemoryBlock& bytes, size_t offset);
    juce::uint16 readUInt16 (const juce::MemoryBlock& bytes, size_t offset);

    /** The 16-bit value that the writer makes of a float sample. */
    juce::int16 expected16Bit (float x);

    /** The samples of an output file, channel by channel; the header is taken as dataOffset bytes. */
    std::vector<std::vector<juce::int16>> readSamples (const juce::File& file, int numChannels, size_t dataOffset);
}
