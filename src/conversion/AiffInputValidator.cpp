#include "AiffInputValidator.h"

#include "ChunkWalker.h"
#include "InputFormats.h"

namespace
{
    /** The rate as the framework's reader decodes the 80-bit float: an integer, 0 when it refuses it. */
    juce::uint32 decodeRate (const juce::uint8* bytes)
    {
        const int byte0 = bytes[0];

        if ((byte0 & 0x80) != 0 || byte0 <= 0x3f || byte0 > 0x40 || (byte0 == 0x40 && bytes[1] > 0x1c))
            return 0;

        auto rate = juce::ByteOrder::bigEndianInt (bytes + 2);
        rate >>= (16414 - juce::ByteOrder::bigEndianShort (bytes));
        return rate;
    }
}

std::optional<SplicedInputStream::Layout> AiffInputValidator::inspect (juce::InputStream& in)
{
    ChunkWalker chunks (in, ChunkWalker::Endian::big);
    char form[12];

    if (! chunks.readFormHeader (form) || ! ChunkWalker::isId (form, "FORM")
        || ! (ChunkWalker::isId (form + 8, "AIFF") || ChunkWalker::isId (form + 8, "AIFC")))
        return std::nullopt;

    bool haveComm = false;
    int channels = 0, bits = 0;
    juce::uint32 frames = 0;
    juce::uint8 rateBytes[10] = {};
    char compression[4] = { 'N', 'O', 'N', 'E' };
    juce::int64 dataStart = -1, dataAvailable = 0;

    while (chunks.next())
    {
        const auto size = chunks.getSize();

        if (chunks.is ("COMM") && ! haveComm)
        {
            juce::uint8 comm[22];
            const auto commSize = size >= 22 ? 22 : 18;

            if (size < 18 || ! chunks.read (comm, commSize))
                return std::nullopt;

            channels = juce::ByteOrder::bigEndianShort (comm);
            frames = juce::ByteOrder::bigEndianInt (comm + 2);
            bits = juce::ByteOrder::bigEndianShort (comm + 6);
            memcpy (rateBytes, comm + 8, 10);

            if (commSize == 22)
                memcpy (compression, comm + 18, 4);

            haveComm = true;
        }
        else if (chunks.is ("SSND") && dataStart < 0)
        {
            juce::uint8 offsetBytes[4];

            if (size < 8 || ! chunks.read (offsetBytes, 4))
                return std::nullopt;

            const auto offset = (juce::int64) juce::ByteOrder::bigEndianInt (offsetBytes);
            dataStart = chunks.getBodyStart() + 8 + offset;
            dataAvailable = juce::jmin (size - 8 - offset, chunks.getFileSize() - dataStart);

            if (haveComm)
                break;
        }
    }

    if (! haveComm || dataStart < 0)
        return std::nullopt;

    // The compressions that the reader decodes; samples narrower than their
    // bytes sit left-justified in them.
    const auto isFloat = ChunkWalker::isId (compression, "fl32") || ChunkWalker::isId (compression, "FL32");
    const auto isLittleEndian = ChunkWalker::isId (compression, "sowt");

    if (! (isFloat || isLittleEndian || ChunkWalker::isId (compression, "NONE") || ChunkWalker::isId (compression, "twos")))
        return std::nullopt;

    const auto containerBits = 8 * ((bits + 7) / 8);
    const auto rate = decodeRate (rateBytes);

    if (channels < 1 || channels > InputFormats::maxChannels || bits < 1 || containerBits > 32
        || (isFloat && bits != 32) || rate < 1 || rate > (juce::uint32) InputFormats::maxSampleRate)
        return std::nullopt;

    const auto bytesPerFrame = channels * containerBits / 8;
    const auto framesHeld = juce::jmax ((juce::int64) 0, dataAvailable) / bytesPerFrame;
    // The reader takes the sizes as signed 32-bit numbers.
    const auto numFrames = juce::jmin ((juce::int64) frames, framesHeld, (juce::int64) (std::numeric_limits<int>::max() - 64) / bytesPerFrame);
    const auto dataLength = numFrames * bytesPerFrame;
    const auto isAifc = isFloat || isLittleEndian;

    // FORM, then COMM (with the compression type for AIFF-C), then SSND.
    const auto commSize = isAifc ? 24 : 18;
    juce::MemoryOutputStream header;
    header.write ("FORM", 4);
    header.writeIntBigEndian ((int) (4 + 8 + commSize + 16 + dataLength));
    header.write (isAifc ? "AIFC" : "AIFF", 4);
    header.write ("COMM", 4);
    header.writeIntBigEndian (commSize);
    header.writeShortBigEndian ((short) channels);
    header.writeIntBigEndian ((int) numFrames);
    header.writeShortBigEndian ((short) containerBits);
    header.write (rateBytes, 10);

    if (isAifc)
    {
        header.write (compression, 4);
        header.writeShort (0);   // empty name, padded
    }

    header.write ("SSND", 4);
    header.writeIntBigEndian ((int) (8 + dataLength));
    header.writeIntBigEndian (0);
    header.writeIntBigEndian (0);

    SplicedInputStream::Layout layout;
    layout.header = header.getMemoryBlock();
    layout.dataStart = dataStart;
    layout.dataLength = dataLength;
    return layout;
}
