#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** One of the framework's input formats with a check in front of its reader.

    WAV and AIFF files are checked chunk by chunk and shown to the reader
    through a plain header (WavInputValidator, AiffInputValidator). FLAC and
    Ogg Vorbis are decoded by their own libraries, which check their streams;
    what their readers report is checked before it is trusted: the channel
    count, the rate, and a length that the file's size could really hold.
    Whatever fails a check is no reader, which the converter reports as an
    invalid input.
*/
class GuardedAudioFormat : public juce::AudioFormat
{
public:
    enum class Kind { wav, aiff, flac, oggVorbis };

    explicit GuardedAudioFormat (Kind kind);

    juce::Array<int> getPossibleSampleRates() override { return format->getPossibleSampleRates(); }
    juce::Array<int> getPossibleBitDepths() override { return format->getPossibleBitDepths(); }
    bool canDoStereo() override { return format->canDoStereo(); }
    bool canDoMono() override { return format->canDoMono(); }
    bool isCompressed() override { return format->isCompressed(); }

    juce::AudioFormatReader* createReaderFor (juce::InputStream* sourceStream, bool deleteStreamIfOpeningFails) override;

    /** Reading only: the converter writes with the WAV format itself. */
    juce::AudioFormatWriter* createWriterFor (juce::OutputStream*, double, unsigned int, int,
                                              const juce::StringPairArray&, int) override { return nullptr; }
    using juce::AudioFormat::createWriterFor;

    /** The most frames a compressed stream of that many bytes can hold: one
        byte per 4096 frames is beyond what either codec reaches even for silence. */
    static juce::int64 maxCompressedFrames (juce::int64 numBytes) { return (numBytes + 1) * 4096; }

private:
    GuardedAudioFormat (Kind kind, std::unique_ptr<juce::AudioFormat> format);

    std::unique_ptr<juce::AudioFormatReader> openChecked (juce::InputStream& stream);
    std::unique_ptr<juce::AudioFormatReader> openCompressed (juce::InputStream& stream);

    const Kind kind;
    std::unique_ptr<juce::AudioFormat> format;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GuardedAudioFormat)
};
