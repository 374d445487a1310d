#pragma once

#include <optional>
#include "SplicedInputStream.h"

/** Checks a RIFF/RF64 WAVE file before the framework's WAV reader sees it.

    The framework's reader trusts every chunk it parses: metadata chunks can
    make it allocate gigabytes or loop forever, a frame of more than 5760
    bytes stalls it, and bit depths it does not decode leave the caller's
    buffer unwritten. So the file's chunks are walked here, within the file's
    size, and only a plain "fmt " and "data" header that the reader decodes is
    shown to it, over the file's sample data (cut to the whole frames that the
    file really holds).
*/
class WavInputValidator
{
public:
    /** The layout to read the file through, or nothing when the file is no WAV the reader decodes. */
    static std::optional<SplicedInputStream::Layout> inspect (juce::InputStream& input);

    static juce::MemoryBlock makeHeader (int formatTag, int numChannels, juce::uint32 sampleRate,
                                         int bitsPerSample, juce::uint64 dataLength);
};
