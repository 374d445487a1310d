#pragma once

#include <juce_core/juce_core.h>

/** A stream made of a header held in memory followed by one region of a
    source stream: how the guarded formats show a checked file to the
    framework's readers, with a plain header in place of the file's own
    chunks. The source stream is owned unless released. */
class SplicedInputStream : public juce::InputStream
{
public:
    /** Where the checked data lies in a file, and the header to show in front of it. */
    struct Layout
    {
        juce::MemoryBlock header;
        juce::int64 dataStart = 0, dataLength = 0;
    };

    SplicedInputStream (juce::InputStream* source, juce::MemoryBlock header,
                        juce::int64 regionStart, juce::int64 regionLength);
    ~SplicedInputStream() override;

    /** Hands the source stream back to the caller, who then owns it. */
    juce::InputStream* releaseSource() noexcept;

    juce::int64 getTotalLength() override { return totalLength; }
    bool isExhausted() override { return position >= totalLength; }
    int read (void* destBuffer, int maxBytesToRead) override;
    juce::int64 getPosition() override { return position; }
    bool setPosition (juce::int64 newPosition) override;

private:
    std::unique_ptr<juce::InputStream> source;
    const juce::MemoryBlock header;
    const juce::int64 regionStart, totalLength;
    juce::int64 position = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SplicedInputStream)
};
