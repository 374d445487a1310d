#include "FFmpegDecoder.h"

#include <mutex>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace
{
    constexpr int ioBufferSize = 1 << 16;

    bool isAcceptedContainer (const AVInputFormat* f)
    {
        if (f == nullptr || f->name == nullptr)
            return false;

        const juce::String name (f->name);
        return name == "mp3" || name == "asf" || name == "asf_o";
    }
}

std::unique_ptr<FFmpegDecoder> FFmpegDecoder::open (juce::InputStream& stream)
{
    std::unique_ptr<FFmpegDecoder> decoder (new FFmpegDecoder (stream));

    if (! decoder->openContainer())
        return {};

    return decoder;
}

FFmpegDecoder::FFmpegDecoder (juce::InputStream& stream)
    : input (stream), startPosition (stream.getPosition())
{
}

FFmpegDecoder::~FFmpegDecoder()
{
    swr_free (&converter);
    av_frame_free (&frame);
    av_packet_free (&packet);
    avcodec_free_context (&codec);

    if (format != nullptr)
        avformat_close_input (&format);

    if (io != nullptr)
    {
        av_freep (&io->buffer);
        avio_context_free (&io);
    }
}

int FFmpegDecoder::readPacket (void* opaque, uint8_t* buffer, int size)
{
    auto& self = *static_cast<FFmpegDecoder*> (opaque);
    const auto bytesRead = self.input.read (buffer, size);
    return bytesRead > 0 ? bytesRead : AVERROR_EOF;
}

int64_t FFmpegDecoder::seek (void* opaque, int64_t offset, int whence)
{
    auto& self = *static_cast<FFmpegDecoder*> (opaque);
    const auto total = self.input.getTotalLength();
    const auto length = total >= 0 ? total - self.startPosition : (juce::int64) -1;

    switch (whence & ~AVSEEK_FORCE)
    {
        case AVSEEK_SIZE: return length;
        case SEEK_SET:    break;
        case SEEK_CUR:    offset += self.input.getPosition() - self.startPosition; break;
        case SEEK_END:    if (length < 0) return -1; offset += length; break;
        default:          return -1;
    }

    if (offset < 0 || ! self.input.setPosition (self.startPosition + offset))
        return -1;

    return offset;
}

bool FFmpegDecoder::openContainer()
{
    // The converter reports through its exceptions; the libraries stay silent.
    static std::once_flag silenced;
    std::call_once (silenced, [] { av_log_set_level (AV_LOG_QUIET); });

    auto* ioBuffer = static_cast<uint8_t*> (av_malloc (ioBufferSize));

    if (ioBuffer == nullptr)
        return false;

    io = avio_alloc_context (ioBuffer, ioBufferSize, 0, this, &FFmpegDecoder::readPacket, nullptr, &FFmpegDecoder::seek);

    if (io == nullptr)
    {
        av_free (ioBuffer);
        return false;
    }

    // Only the containers of this format: the others have readers of their own,
    // and a weak guess on arbitrary bytes is no input.
    const AVInputFormat* container = nullptr;

    if (av_probe_input_buffer2 (io, &container, "", nullptr, 0, 0) < AVPROBE_SCORE_RETRY
        || ! isAcceptedContainer (container))
        return false;

    format = avformat_alloc_context();

    if (format == nullptr)
        return false;

    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;

    if (avformat_open_input (&format, "", container, nullptr) < 0)
    {
        format = nullptr;   // freed by the failed open
        return false;
    }

    for (unsigned int i = 0; i < format->nb_streams; ++i)
    {
        if (streamIndex < 0 && format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            streamIndex = (int) i;
        else
            format->streams[i]->discard = AVDISCARD_ALL;
    }

    if (streamIndex < 0)
        return false;

    auto* parameters = format->streams[streamIndex]->codecpar;
    const auto* codecDescription = avcodec_find_decoder (parameters->codec_id);

    if (codecDescription == nullptr)
        return false;

    codec = avcodec_alloc_context3 (codecDescription);
    packet = av_packet_alloc();
    frame = av_frame_alloc();

    if (codec == nullptr || packet == nullptr || frame == nullptr
        || avcodec_parameters_to_context (codec, parameters) < 0)
        return false;

    codec->thread_count = 1;
    codec->request_sample_fmt = AV_SAMPLE_FMT_FLTP;

    // The rate and channel count are those of the first decoded frame.
    return avcodec_open2 (codec, codecDescription, nullptr) >= 0;
}

bool FFmpegDecoder::decodeNextBlock()
{
    blockLength = 0;

    while (! finished)
    {
        if (receiveFrame())
        {
            if (copyFrame())
                return true;

            continue;
        }

        if (finished)
            break;

        if (flushing)
        {
            finished = true;
            break;
        }

        // Feed the decoder; a read error counts as the end of the stream.
        const auto readResult = av_read_frame (format, packet);

        if (readResult < 0)
        {
            flushing = true;
            avcodec_send_packet (codec, nullptr);
            continue;
        }

        if (packet->stream_index == streamIndex)
            avcodec_send_packet (codec, packet);   // a damaged packet is skipped

        av_packet_unref (packet);
    }

    return false;
}

bool FFmpegDecoder::receiveFrame()
{
    const auto result = avcodec_receive_frame (codec, frame);

    if (result == AVERROR_EOF)
        finished = true;

    return result >= 0;
}

bool FFmpegDecoder::copyFrame()
{
    struct Unref { AVFrame* f; ~Unref() { av_frame_unref (f); } } unref { frame };

    if (frame->nb_samples <= 0)
        return false;

    if (numChannels == 0)
    {
        numChannels = frame->ch_layout.nb_channels;
        sampleRate = frame->sample_rate;
    }

    // The reader has promised one rate and one channel count: a change ends the audio.
    if (frame->ch_layout.nb_channels != numChannels || frame->sample_rate != (int) sampleRate)
    {
        finished = true;
        return false;
    }

    if (block.getNumSamples() < frame->nb_samples || block.getNumChannels() != numChannels)
        block.setSize (numChannels, frame->nb_samples, false, false, true);

    if (frame->format == AV_SAMPLE_FMT_FLTP)
    {
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom (c, 0, reinterpret_cast<const float*> (frame->extended_data[c]), frame->nb_samples);
    }
    else
    {
        // Only the sample layout changes here, never the rate.
        if (converter == nullptr || converterFormat != frame->format)
        {
            swr_free (&converter);
            converterFormat = frame->format;

            if (swr_alloc_set_opts2 (&converter, &frame->ch_layout, AV_SAMPLE_FMT_FLTP, frame->sample_rate,
                                     &frame->ch_layout, (AVSampleFormat) frame->format, frame->sample_rate, 0, nullptr) < 0
                || swr_init (converter) < 0)
            {
                finished = true;
                return false;
            }
        }

        std::vector<uint8_t*> outputs ((size_t) numChannels);

        for (int c = 0; c < numChannels; ++c)
            outputs[(size_t) c] = reinterpret_cast<uint8_t*> (block.getWritePointer (c));

        if (swr_convert (converter, outputs.data(), frame->nb_samples,
                         const_cast<const uint8_t**> (frame->extended_data), frame->nb_samples) != frame->nb_samples)
        {
            finished = true;
            return false;
        }
    }

    blockLength = frame->nb_samples;
    return true;
}
