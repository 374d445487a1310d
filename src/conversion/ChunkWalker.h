#pragma once

#include <juce_core/juce_core.h>

/** Walks the chunks of a RIFF (little-endian) or IFF (big-endian) file, by
    the file's real size rather than by sizes written in it, and at most a few
    thousand of them, so that no header value can make the walk run past the
    end, go backwards or go on for long. Positions are relative to where the
    stream stood when the walker was made. */
class ChunkWalker
{
public:
    enum class Endian { little, big };

    ChunkWalker (juce::InputStream& input, Endian endian);

    /** Reads the 12-byte form header (id, size, type); false when the file is shorter. */
    bool readFormHeader (char (&header)[12]);

    /** Moves to the next chunk; false when there is none within the file. */
    bool next();

    bool is (const char* fourCC) const noexcept { return isId (id, fourCC); }
    juce::int64 getSize() const noexcept { return size; }
    juce::int64 getBodyStart() const noexcept { return body; }
    juce::int64 getFileSize() const noexcept { return fileSize; }

    /** Makes the walk go on after this many body bytes instead of the chunk's size. */
    void setBodySize (juce::int64 bodySize) noexcept;

    /** Reads exactly n bytes at the current position of the stream. */
    bool read (void* dest, int n) { return input.read (dest, n) == n; }

    juce::InputStream& getStream() noexcept { return input; }

    static bool isId (const char* bytes, const char* fourCC) noexcept { return memcmp (bytes, fourCC, 4) == 0; }

private:
    juce::InputStream& input;
    const Endian endian;
    const juce::int64 base, fileSize;
    juce::int64 nextChunk = 12, body = 0, size = 0;
    char id[4] = {};
    int count = 0;

    static constexpr int maxChunks = 4096;
};
