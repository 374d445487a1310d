#include "WavInputValidator.h"

#include "ChunkWalker.h"
#include "InputFormats.h"

namespace
{
    const juce::uint8 pcmGuid[]   = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 };
    const juce::uint8 floatGuid[] = { 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 };

    struct Format
    {
        int tag = 0, channels = 0, blockAlign = 0, bits = 0;
        juce::uint32 rate = 0;
        bool isFloat = false;
    };
}

juce::MemoryBlock WavInputValidator::makeHeader (int formatTag, int numChannels, juce::uint32 sampleRate,
                                                 int bitsPerSample, juce::uint64 dataLength)
{
    const auto blockAlign = numChannels * bitsPerSample / 8;
    const auto isRF64 = dataLength >= ((juce::uint64) 1 << 32);
    juce::MemoryOutputStream out;

    out.write (isRF64 ? "RF64" : "RIFF", 4);
    out.writeInt (isRF64 ? -1 : (int) (juce::uint32) (36 + dataLength));
    out.write ("WAVE", 4);

    if (isRF64)
    {
        out.write ("ds64", 4);
        out.writeInt (28);
        out.writeInt64 ((juce::int64) (dataLength + 72));
        out.writeInt64 ((juce::int64) dataLength);
        out.writeRepeatedByte (0, 12);
    }

    out.write ("fmt ", 4);
    out.writeInt (16);
    out.writeShort ((short) formatTag);
    out.writeShort ((short) numChannels);
    out.writeInt ((int) sampleRate);
    out.writeInt ((int) (sampleRate * (juce::uint32) blockAlign));
    out.writeShort ((short) blockAlign);
    out.writeShort ((short) bitsPerSample);
    out.write ("data", 4);
    out.writeInt (isRF64 ? -1 : (int) (juce::uint32) dataLength);
    return out.getMemoryBlock();
}

std::optional<SplicedInputStream::Layout> WavInputValidator::inspect (juce::InputStream& in)
{
    ChunkWalker chunks (in, ChunkWalker::Endian::little);
    char riff[12];

    if (! chunks.readFormHeader (riff) || ! ChunkWalker::isId (riff + 8, "WAVE"))
        return std::nullopt;

    const auto isRF64 = ChunkWalker::isId (riff, "RF64");

    if (! isRF64 && ! ChunkWalker::isId (riff, "RIFF"))
        return std::nullopt;

    std::optional<Format> format;
    juce::int64 ds64DataSize = -1, dataStart = -1, declaredDataSize = 0;
    const auto fileSize = chunks.getFileSize();
    bool first = true;

    // The chunks are walked by the file's size, not the RIFF size, which
    // writers that stopped early leave wrong.
    while (chunks.next())
    {
        const auto size = chunks.getSize();
        const auto body = chunks.getBodyStart();

        if (chunks.is ("ds64") && isRF64 && first && size >= 28)
        {
            in.skipNextBytes (8);   // the RIFF size
            ds64DataSize = in.readInt64();
        }
        else if (chunks.is ("fmt ") && ! format.has_value())
        {
            if (size < 16 || body + 16 > fileSize)
                return std::nullopt;

            Format f;
            f.tag = (juce::uint16) in.readShort();
            f.channels = (juce::uint16) in.readShort();
            f.rate = (juce::uint32) in.readInt();
            in.skipNextBytes (4);
            f.blockAlign = (juce::uint16) in.readShort();
            f.bits = (juce::uint16) in.readShort();

            if (f.tag == 0xfffe)
            {
                juce::uint8 guid[16];

                if (size < 40 || body + 40 > fileSize)
                    return std::nullopt;

                in.skipNextBytes (8);   // extension size, valid bits, channel mask

                if (! chunks.read (guid, 16))
                    return std::nullopt;

                if (memcmp (guid, pcmGuid, 16) == 0)        f.tag = 1;
                else if (memcmp (guid, floatGuid, 16) == 0) f.tag = 3;
                else                                        return std::nullopt;
            }

            f.isFloat = (f.tag == 3);

            if (f.tag != 1 && f.tag != 3)
                return std::nullopt;

            format = f;
        }
        else if (chunks.is ("data") && dataStart < 0)
        {
            dataStart = body;
            declaredDataSize = (isRF64 && size == 0xffffffff && ds64DataSize >= 0) ? ds64DataSize : size;
            chunks.setBodySize (declaredDataSize);

            if (format.has_value())
                break;
        }

        first = false;
    }

    if (! format.has_value() || dataStart < 0)
        return std::nullopt;

    auto f = *format;

    if (f.channels < 1 || f.channels > InputFormats::maxChannels || f.rate < 1 || f.rate > (juce::uint32) InputFormats::maxSampleRate)
        return std::nullopt;

    // The reader decodes 8, 16, 24 and 32-bit integers and 32-bit floats,
    // and takes the frame size from the bit depth: the container must be one
    // of those, and narrower samples sit left-justified in it.
    if (f.blockAlign % f.channels != 0)
        return std::nullopt;

    const auto containerBits = 8 * (f.blockAlign / f.channels);

    if (containerBits < 8 || containerBits > 32 || f.bits < 1 || f.bits > containerBits
        || (f.isFloat && (containerBits != 32 || f.bits != 32)))
        return std::nullopt;

    const auto available = juce::jmax ((juce::int64) 0, fileSize - dataStart);
    auto dataLength = juce::jlimit ((juce::int64) 0, available, declaredDataSize);
    dataLength -= dataLength % f.blockAlign;

    SplicedInputStream::Layout layout;
    layout.header = makeHeader (f.isFloat ? 3 : 1, f.channels, f.rate, containerBits, (juce::uint64) dataLength);
    layout.dataStart = dataStart;
    layout.dataLength = dataLength;
    return layout;
}
