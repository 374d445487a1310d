#include "WavFileHeader.h"

namespace
{
    void writeId (juce::MemoryOutputStream& out, const char* id) { out.write (id, 4); }
}

juce::uint32 WavFileHeader::getChannelMask (int numChannels)
{
    switch (numChannels)
    {
        case 3:  return 7;      // L R C
        case 4:  return 51;     // L R Ls Rs
        case 5:  return 55;     // L R C Ls Rs
        case 6:  return 63;     // L R C LFE Ls Rs
        case 7:  return 1591;   // L R C Ls Rs Lc Rc
        case 8:  return 1599;   // L R C LFE Ls Rs Lc Rc
        default: return 0;
    }
}

int WavFileHeader::getSize (int numChannels, juce::uint64 dataSize)
{
    if (dataSize >= rf64Threshold)
        return 104;

    return numChannels <= 2 ? 44 : 68;
}

juce::MemoryBlock WavFileHeader::create (int numChannels, int sampleRate, int bitsPerSample, juce::uint64 dataSize)
{
    const auto isRF64 = dataSize >= rf64Threshold;
    const auto extensible = isRF64 || numChannels > 2;
    const auto blockAlign = numChannels * bitsPerSample / 8;
    const auto headerSize = getSize (numChannels, dataSize);

    juce::MemoryOutputStream out ((size_t) headerSize);

    if (isRF64)
    {
        writeId (out, "RF64");
        out.writeInt (-1);
        writeId (out, "WAVE");
        writeId (out, "ds64");
        out.writeInt (28);
        out.writeInt64 ((juce::int64) (dataSize + (juce::uint64) headerSize - 8));
        out.writeInt64 ((juce::int64) dataSize);
        out.writeRepeatedByte (0, 12);
    }
    else
    {
        writeId (out, "RIFF");
        out.writeInt ((int) (juce::uint32) (dataSize + (juce::uint64) headerSize - 8));
        writeId (out, "WAVE");
    }

    writeId (out, "fmt ");
    out.writeInt (extensible ? 40 : 16);
    out.writeShort ((short) (extensible ? 0xfffe : 1));
    out.writeShort ((short) numChannels);
    out.writeInt (sampleRate);
    out.writeInt (sampleRate * blockAlign);
    out.writeShort ((short) blockAlign);
    out.writeShort ((short) bitsPerSample);

    if (extensible)
    {
        static const juce::uint8 pcmSubFormat[] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                    0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 };
        out.writeShort (22);
        out.writeShort ((short) bitsPerSample);
        out.writeInt ((int) getChannelMask (numChannels));
        out.write (pcmSubFormat, sizeof (pcmSubFormat));
    }

    writeId (out, "data");
    out.writeInt (isRF64 ? -1 : (int) (juce::uint32) dataSize);

    jassert ((int) out.getDataSize() == headerSize);
    return out.getMemoryBlock();
}
