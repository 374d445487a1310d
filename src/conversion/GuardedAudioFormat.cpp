#include "GuardedAudioFormat.h"

#include "AiffInputValidator.h"
#include "InputFormats.h"
#include "WavInputValidator.h"

#include <FLAC/stream_decoder.h>
#include <vorbis/vorbisfile.h>

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

    /** Whether every link of a chained Ogg Vorbis stream has the first one's
        channel count and rate. The framework's reader copies the first link's
        channel count out of every decoded packet, so a later link with fewer
        channels makes it read past the decoder's channel array. */
    bool allOggLinksAlike (juce::InputStream& stream)
    {
        const auto start = stream.getPosition();

        ov_callbacks callbacks {};
        callbacks.read_func = [] (void* dest, size_t size, size_t count, void* source) -> size_t
        {
            const auto wanted = (int) juce::jmin (size * count, (size_t) std::numeric_limits<int>::max());
            return size == 0 ? 0 : (size_t) juce::jmax (0, static_cast<juce::InputStream*> (source)->read (dest, wanted)) / size;
        };
        callbacks.seek_func = [] (void* source, ogg_int64_t offset, int whence) -> int
        {
            auto* in = static_cast<juce::InputStream*> (source);

            if (whence == SEEK_CUR)      offset += in->getPosition();
            else if (whence == SEEK_END) offset += in->getTotalLength();

            return in->setPosition (offset) ? 0 : -1;
        };
        callbacks.tell_func = [] (void* source) -> long { return (long) static_cast<juce::InputStream*> (source)->getPosition(); };

        OggVorbis_File file {};
        bool alike = false;

        if (ov_open_callbacks (&stream, &file, nullptr, 0, callbacks) == 0)
        {
            const auto* first = ov_info (&file, 0);
            alike = first != nullptr;

            for (long link = 1; alike && link < ov_streams (&file); ++link)
            {
                const auto* info = ov_info (&file, (int) link);
                alike = info != nullptr && info->channels == first->channels && info->rate == first->rate;
            }

            ov_clear (&file);
        }

        stream.setPosition (start);
        return alike;
    }

    /** The number of frames that a FLAC stream really decodes to. The framework's
        reader trusts the length in the stream's header and fills whatever a
        truncated or damaged file cannot deliver with silence; counting the
        frames first lets the conversion end where the audio ends. */
    juce::int64 countDecodableFlacFrames (juce::InputStream& stream)
    {
        struct Scan
        {
            juce::InputStream* in;
            juce::int64 frames = 0;
        } scan { &stream };

        auto* decoder = FLAC__stream_decoder_new();

        if (decoder == nullptr)
            return -1;

        FLAC__stream_decoder_set_md5_checking (decoder, false);

        const auto status = FLAC__stream_decoder_init_stream (decoder,
            [] (const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* data)
            {
                auto* in = static_cast<Scan*> (data)->in;
                const auto wanted = (int) juce::jmin (*bytes, (size_t) std::numeric_limits<int>::max());
                const auto got = wanted > 0 ? in->read (buffer, wanted) : 0;
                *bytes = (size_t) juce::jmax (0, got);
                return got > 0 ? FLAC__STREAM_DECODER_READ_STATUS_CONTINUE
                               : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
            },
            nullptr, nullptr, nullptr, nullptr,   // no seeking: one pass from the start
            [] (const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const*, void* data)
            {
                static_cast<Scan*> (data)->frames += frame->header.blocksize;
                return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
            },
            nullptr,
            [] (const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {},
            &scan);

        juce::int64 frames = -1;

        if (status == FLAC__STREAM_DECODER_INIT_STATUS_OK)
        {
            FLAC__stream_decoder_process_until_end_of_stream (decoder);
            frames = scan.frames;
        }

        FLAC__stream_decoder_delete (decoder);
        return frames;
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
    const auto start = stream.getPosition();
    const auto numBytes = stream.getTotalLength() - start;
    std::unique_ptr<juce::AudioFormatReader> reader (format->createReaderFor (&stream, false));

    if (reader == nullptr)
        return {};

    if (kind == Kind::oggVorbis)
    {
        const auto position = stream.getPosition();
        stream.setPosition (start);
        const auto alike = allOggLinksAlike (stream);
        stream.setPosition (position);

        if (! alike)
        {
            discardKeepingStream (reader);
            return {};
        }
    }

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

    if (kind == Kind::flac && reader->lengthInSamples > 0)
    {
        const auto position = stream.getPosition();
        stream.setPosition (start);
        const auto decodable = countDecodableFlacFrames (stream);
        stream.setPosition (position);

        if (decodable <= 0)
        {
            discardKeepingStream (reader);
            return {};
        }

        reader->lengthInSamples = juce::jmin (reader->lengthInSamples, decodable);
    }

    return reader;
}
