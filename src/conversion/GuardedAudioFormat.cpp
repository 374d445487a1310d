#include "GuardedAudioFormat.h"

#include "AiffInputValidator.h"
#include "InputFormats.h"
#include "WavInputValidator.h"

namespace
{
    std::unique_ptr<juce::AudioFormat> makeFormat (GuardedAudioFormat::Kind kind)
    {
        switch (kind)
        {
            case GuardedAudioFormat::Kind::wav:       return std::make_unique<juce::WavAudioFormat>();
            case GuardedAudioFormat::Kind::aiff:      return std::make_unique<juce::AiffAudioFormat>();
            case GuardedAudioFormat::Kind::flac:      return std::make_unique<juce::FlacAudioFormat>();
            case GuardedAudioFormat::Kind::oggVorbis: return std::make_unique<juce::OggVorbisAudioFormat>();
        }

        return {};
    }

    /** Deletes a reader without the stream it was given, which stays the caller's. */
    void discardKeepingStream (std::unique_ptr<juce::AudioFormatReader>& reader)
    {
        if (reader != nullptr)
            reader->input = nullptr;

        reader.reset();
    }
}

GuardedAudioFormat::GuardedAudioFormat (Kind k)
    : GuardedAudioFormat (k, makeFormat (k))
{
}

GuardedAudioFormat::GuardedAudioFormat (Kind k, std::unique_ptr<juce::AudioFormat> f)
    : juce::AudioFormat (f->getFormatName(), f->getFileExtensions()), kind (k), format (std::move (f))
{
}

juce::AudioFormatReader* GuardedAudioFormat::createReaderFor (juce::InputStream* sourceStream, bool deleteStreamIfOpeningFails)
{
    if (sourceStream == nullptr)
        return nullptr;

    auto reader = (kind == Kind::wav || kind == Kind::aiff) ? openChecked (*sourceStream)
                                                            : openCompressed (*sourceStream);
    if (reader != nullptr)
        return reader.release();

    if (deleteStreamIfOpeningFails)
        delete sourceStream;

    return nullptr;
}

std::unique_ptr<juce::AudioFormatReader> GuardedAudioFormat::openChecked (juce::InputStream& stream)
{
    const auto start = stream.getPosition();
    const auto layout = kind == Kind::wav ? WavInputValidator::inspect (stream) : AiffInputValidator::inspect (stream);
    stream.setPosition (start);

    if (! layout.has_value())
        return {};

    // The reader owns the spliced stream, which owns the file's stream.
    auto spliced = std::make_unique<SplicedInputStream> (&stream, layout->header, start + layout->dataStart, layout->dataLength);
    std::unique_ptr<juce::AudioFormatReader> reader (format->createReaderFor (spliced.get(), false));

    if (reader == nullptr)
    {
        spliced->releaseSource();
        stream.setPosition (start);
        return {};
    }

    spliced.release();
    return reader;
}

std::unique_ptr<juce::AudioFormatReader> GuardedAudioFormat::openCompressed (juce::InputStream& stream)
{
    const auto numBytes = stream.getTotalLength() - stream.getPosition();
    std::unique_ptr<juce::AudioFormatReader> reader (format->createReaderFor (&stream, false));

    if (reader == nullptr)
        return {};

    // The Ogg reader casts a failed length query to an unsigned 32-bit length.
    const auto lengthPlausible = reader->lengthInSamples >= 0
                              && reader->lengthInSamples <= maxCompressedFrames (numBytes)
                              && reader->lengthInSamples < (juce::int64) 0xffffff00;

    if (! lengthPlausible || reader->numChannels < 1 || reader->numChannels > (unsigned int) InputFormats::maxChannels
        || ! (reader->sampleRate >= InputFormats::minSampleRate && reader->sampleRate <= InputFormats::maxSampleRate))
    {
        discardKeepingStream (reader);
        return {};
    }

    return reader;
}
