#include "SplicedInputStream.h"

SplicedInputStream::SplicedInputStream (juce::InputStream* s, juce::MemoryBlock h,
                                        juce::int64 start, juce::int64 length)
    : source (s), header (std::move (h)), regionStart (start),
      totalLength ((juce::int64) header.getSize() + length)
{
}

SplicedInputStream::~SplicedInputStream() = default;

juce::InputStream* SplicedInputStream::releaseSource() noexcept
{
    return source.release();
}

bool SplicedInputStream::setPosition (juce::int64 newPosition)
{
    position = juce::jlimit ((juce::int64) 0, totalLength, newPosition);
    return true;
}

int SplicedInputStream::read (void* destBuffer, int maxBytesToRead)
{
    auto* dest = static_cast<char*> (destBuffer);
    int done = 0;
    const auto headerSize = (juce::int64) header.getSize();

    while (done < maxBytesToRead && position < totalLength)
    {
        const auto wanted = (int) juce::jmin ((juce::int64) (maxBytesToRead - done), totalLength - position);

        if (position < headerSize)
        {
            const auto n = (int) juce::jmin ((juce::int64) wanted, headerSize - position);
            memcpy (dest + done, static_cast<const char*> (header.getData()) + position, (size_t) n);
            done += n;
            position += n;
            continue;
        }

        if (source == nullptr || ! source->setPosition (regionStart + position - headerSize))
            break;

        const auto n = source->read (dest + done, wanted);

        if (n <= 0)
            break;

        done += n;
        position += n;
    }

    return done;
}
