#include "ChunkWalker.h"

ChunkWalker::ChunkWalker (juce::InputStream& in, Endian e)
    : input (in), endian (e), base (in.getPosition()), fileSize (in.getTotalLength() - base)
{
}

bool ChunkWalker::readFormHeader (char (&header)[12])
{
    return fileSize >= 12 && input.setPosition (base) && read (header, 12);
}

bool ChunkWalker::next()
{
    juce::uint8 sizeBytes[4];

    if (count >= maxChunks || nextChunk + 8 > fileSize
        || ! input.setPosition (base + nextChunk) || ! read (id, 4) || ! read (sizeBytes, 4))
        return false;

    ++count;
    size = (juce::int64) (endian == Endian::little ? juce::ByteOrder::littleEndianInt (sizeBytes)
                                                   : juce::ByteOrder::bigEndianInt (sizeBytes));
    body = nextChunk + 8;
    setBodySize (size);
    return true;
}

void ChunkWalker::setBodySize (juce::int64 bodySize) noexcept
{
    // Chunks are padded to even sizes; a size past the end ends the walk.
    nextChunk = body + bodySize + (bodySize & 1);
}
