#include "TestAudio.h"

#include <cmath>
#include <gtest/gtest.h>

namespace TestAudio
{
    float ramp (int channel, int frame)
    {
        return (float) (((frame * 7 + channel * 131) % 2001) - 1000) / 1600.0f;
    }

    juce::AudioBuffer<float> makeBuffer (int numChannels, int numFrames, const Generator& generator)
    {
        juce::AudioBuffer<float> buffer (numChannels, numFrames);

        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numFrames; ++i)
                buffer.setSample (c, i, generator (c, i));

        return buffer;
    }

    void writeFile (const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate, int bitsPerSample)
    {
        std::unique_ptr<juce::AudioFormat> format;

        if (file.hasFileExtension ("aif;aiff"))
            format = std::make_unique<juce::AiffAudioFormat>();
        else
            format = std::make_unique<juce::WavAudioFormat>();

        file.deleteFile();
        auto stream = file.createOutputStream();
        ASSERT_NE (stream, nullptr);

        std::unique_ptr<juce::AudioFormatWriter> writer (format->createWriterFor (stream.get(), sampleRate,
                                                                                  (unsigned int) buffer.getNumChannels(),
                                                                                  bitsPerSample, {}, 0));
        ASSERT_NE (writer, nullptr);
        stream.release();

        if (buffer.getNumSamples() > 0)
            ASSERT_TRUE (writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples()));
    }

    juce::File writeFile (const juce::File& file, int numChannels, int numFrames, double sampleRate, int bitsPerSample,
                          const Generator& generator)
    {
        writeFile (file, makeBuffer (numChannels, numFrames, generator), sampleRate, bitsPerSample);
        return file;
    }

    juce::AudioBuffer<float> readFloats (const juce::File& file)
    {
        juce::AudioFormatManager manager;
        manager.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (manager.createReaderFor (file));

        if (reader == nullptr)
            return {};

        juce::AudioBuffer<float> buffer ((int) reader->numChannels, (int) reader->lengthInSamples);
        reader->read (&buffer, 0, buffer.getNumSamples(), 0, true, true);
        return buffer;
    }

    juce::MemoryBlock readBytes (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    juce::uint32 readUInt32 (const juce::MemoryBlock& bytes, size_t offset)
    {
        return juce::ByteOrder::littleEndianInt (static_cast<const char*> (bytes.getData()) + offset);
    }

    juce::uint16 readUInt16 (const juce::MemoryBlock& bytes, size_t offset)
    {
        return juce::ByteOrder::littleEndianShort (static_cast<const char*> (bytes.getData()) + offset);
    }

    juce::int16 expected16Bit (float x)
    {
        if (x <= -1.0f) return -32768;
        if (x >= 1.0f)  return 32767;

        // Nearest, ties to even, then the upper 16 bits.
        const auto scaled = (std::int32_t) std::nearbyint ((double) x * 2147483647.0);
        return (juce::int16) (scaled >> 16);
    }

    std::vector<std::vector<juce::int16>> readSamples (const juce::File& file, int numChannels, size_t dataOffset)
    {
        const auto bytes = readBytes (file);
        std::vector<std::vector<juce::int16>> channels ((size_t) numChannels);

        if (bytes.getSize() < dataOffset)
            return channels;

        const auto numFrames = (bytes.getSize() - dataOffset) / (2 * (size_t) numChannels);
        auto* data = static_cast<const char*> (bytes.getData()) + dataOffset;

        for (size_t i = 0; i < numFrames; ++i)
            for (size_t c = 0; c < (size_t) numChannels; ++c)
                channels[c].push_back ((juce::int16) juce::ByteOrder::littleEndianShort (data + 2 * (i * (size_t) numChannels + c)));

        return channels;
    }
}
