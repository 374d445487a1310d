#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** MP3 and Windows Media (ASF, WMA, WMV) input, decoded with FFmpeg's
    libraries: the fifth input format. Reading only. */
class FFmpegAudioFormat : public juce::AudioFormat
{
public:
    FFmpegAudioFormat();

    juce::Array<int> getPossibleSampleRates() override { return {}; }
    juce::Array<int> getPossibleBitDepths() override { return {}; }
    bool canDoStereo() override { return true; }
    bool canDoMono() override { return true; }
    bool isCompressed() override { return true; }

    juce::AudioFormatReader* createReaderFor (juce::InputStream* sourceStream, bool deleteStreamIfOpeningFails) override;

    juce::AudioFormatWriter* createWriterFor (juce::OutputStream*, double, unsigned int, int,
                                              const juce::StringPairArray&, int) override { return nullptr; }
    using juce::AudioFormat::createWriterFor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FFmpegAudioFormat)
};
