#pragma once

#include "FFmpegDecoder.h"
#include <juce_audio_formats/juce_audio_formats.h>

/** Reads MP3 and Windows Media audio through FFmpegDecoder, sample-accurately.

    The length is counted by decoding the whole stream once when the reader is
    made, so it is never more than what the reader delivers. Reads go forward
    through the decoded frames; a read before the current frame decodes again
    from the start, so every start position gives the right samples.
*/
class FFmpegAudioReader : public juce::AudioFormatReader
{
public:
    /** Returns nullptr (and leaves the stream to the caller) unless the stream is readable. */
    static std::unique_ptr<FFmpegAudioReader> create (juce::InputStream* stream, const juce::String& formatName);

    bool readSamples (int* const* destSamples, int numDestChannels, int startOffsetInDestBuffer,
                      juce::int64 startSampleInFile, int numSamples) override;

private:
    FFmpegAudioReader (juce::InputStream* stream, const juce::String& formatName);

    bool restart();

    const juce::int64 streamStart;
    std::unique_ptr<FFmpegDecoder> decoder;
    juce::int64 blockStart = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FFmpegAudioReader)
};
