#pragma once

#include <juce_core/juce_core.h>

/** The stream that the framework's WAV writer writes through. It passes the
    sample data on to the file, after the header that the converter writes
    itself, and drops the writer's own header (both the first one and the
    rewrite when the writer is destroyed), whose sizes and layout are not the
    player's. It also remembers whether any write to the file failed, which
    the writer would otherwise hide. The file stream is not owned. */
class WavDataOutputStream : public juce::OutputStream
{
public:
    WavDataOutputStream (juce::FileOutputStream& file, juce::int64 dataStart);

    /** Called once the writer has written its header: what follows is data. */
    void startData();

    bool hasFailed() const noexcept { return failed; }

    void flush() override;
    juce::int64 getPosition() override { return position; }
    bool setPosition (juce::int64 newPosition) override;
    bool write (const void* data, size_t numBytes) override;

private:
    juce::FileOutputStream& file;
    const juce::int64 dataStart;
    juce::int64 position = 0, writerDataStart = 0;
    enum class Mode { header, data, rewrite } mode = Mode::header;
    bool failed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WavDataOutputStream)
};
