#include "WavDataOutputStream.h"

WavDataOutputStream::WavDataOutputStream (juce::FileOutputStream& f, juce::int64 start)
    : file (f), dataStart (start)
{
}

void WavDataOutputStream::startData()
{
    mode = Mode::data;
    writerDataStart = position;
}

void WavDataOutputStream::flush()
{
    if (mode == Mode::data)
    {
        file.flush();
        failed = failed || file.getStatus().failed();
    }
}

bool WavDataOutputStream::setPosition (juce::int64 newPosition)
{
    // Moving back once data has been written is the writer rewriting its header.
    if (mode == Mode::data && newPosition != position)
        mode = Mode::rewrite;

    position = newPosition;
    return true;
}

bool WavDataOutputStream::write (const void* data, size_t numBytes)
{
    if (mode == Mode::data)
    {
        jassert (file.getPosition() == dataStart + (position - writerDataStart));

        if (failed || ! file.write (data, numBytes))
        {
            failed = true;
            return false;
        }
    }

    position += (juce::int64) numBytes;
    return true;
}
