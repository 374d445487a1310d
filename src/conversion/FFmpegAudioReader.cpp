#include "FFmpegAudioReader.h"

#include "InputFormats.h"

FFmpegAudioReader::FFmpegAudioReader (juce::InputStream* stream, const juce::String& name)
    : juce::AudioFormatReader (stream, name), streamStart (stream->getPosition())
{
    usesFloatingPointData = true;
    bitsPerSample = 32;
}

std::unique_ptr<FFmpegAudioReader> FFmpegAudioReader::create (juce::InputStream* stream, const juce::String& formatName)
{
    std::unique_ptr<FFmpegAudioReader> reader (new FFmpegAudioReader (stream, formatName));

    // The reader must not delete a stream that the caller keeps on failure.
    const auto giveBack = [&] { reader->input = nullptr; return std::unique_ptr<FFmpegAudioReader>(); };

    auto counter = FFmpegDecoder::open (*stream);

    if (counter == nullptr)
        return giveBack();

    juce::int64 length = 0;

    while (counter->decodeNextBlock())
    {
        length += counter->getBlockLength();

        if (length > std::numeric_limits<int>::max())
            break;   // longer than any buffer; the converter reports it as too large
    }

    reader->sampleRate = counter->getSampleRate();
    reader->numChannels = (unsigned int) juce::jmax (0, counter->getNumChannels());
    reader->lengthInSamples = length;
    counter.reset();

    if (length == 0 || reader->numChannels == 0 || reader->sampleRate <= 0 || ! reader->restart())
        return giveBack();

    return reader;
}

bool FFmpegAudioReader::restart()
{
    decoder.reset();
    blockStart = 0;

    if (! input->setPosition (streamStart))
        return false;

    decoder = FFmpegDecoder::open (*input);

    if (decoder == nullptr)
        return false;

    decoder->decodeNextBlock();
    return true;
}

bool FFmpegAudioReader::readSamples (int* const* destSamples, int numDestChannels, int startOffsetInDestBuffer,
                                     juce::int64 startSampleInFile, int numSamples)
{
    clearSamplesBeyondAvailableLength (destSamples, numDestChannels, startOffsetInDestBuffer,
                                       startSampleInFile, numSamples, lengthInSamples);

    while (numSamples > 0)
    {
        if (decoder == nullptr || startSampleInFile < blockStart)
            if (! restart())
                break;

        const auto blockLength = decoder->getBlockLength();

        if (blockLength == 0)
            break;   // the audio ended early (the file changed): the rest stays silent

        if (startSampleInFile >= blockStart + blockLength)
        {
            blockStart += blockLength;
            decoder->decodeNextBlock();
            continue;
        }

        const auto offset = (int) (startSampleInFile - blockStart);
        const auto count = juce::jmin (numSamples, blockLength - offset);
        const auto& block = decoder->getBlock();

        for (int c = 0; c < numDestChannels; ++c)
        {
            if (destSamples[c] == nullptr)
                continue;

            auto* dest = reinterpret_cast<float*> (destSamples[c]) + startOffsetInDestBuffer;

            if (c < (int) numChannels)
                juce::FloatVectorOperations::copy (dest, block.getReadPointer (c, offset), count);
            else
                juce::FloatVectorOperations::clear (dest, count);
        }

        startSampleInFile += count;
        startOffsetInDestBuffer += count;
        numSamples -= count;
    }

    if (numSamples > 0)
        for (int c = 0; c < numDestChannels; ++c)
            if (destSamples[c] != nullptr)
                juce::FloatVectorOperations::clear (reinterpret_cast<float*> (destSamples[c]) + startOffsetInDestBuffer, numSamples);

    return true;
}
