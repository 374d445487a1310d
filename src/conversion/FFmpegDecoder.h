#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

struct AVFormatContext;
struct AVIOContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

/** Decodes the first audio stream of an MPEG audio or ASF (Windows Media)
    stream from its start, one decoded frame at a time, into planar floats.

    The libraries remove an MP3's encoder delay and padding, so the frames
    delivered are the encoded audio itself. Packets that fail to decode are
    skipped; a change of rate or channel count, a read error or the end of the
    stream ends the audio. The stream is not owned and is read from its
    current position.
*/
class FFmpegDecoder
{
public:
    /** Returns nullptr unless the stream holds one of those containers with a decodable audio stream. */
    static std::unique_ptr<FFmpegDecoder> open (juce::InputStream& stream);

    ~FFmpegDecoder();

    double getSampleRate() const noexcept { return sampleRate; }
    int getNumChannels() const noexcept { return numChannels; }

    /** Decodes the next frame into the block; false once the audio has ended. */
    bool decodeNextBlock();

    const juce::AudioBuffer<float>& getBlock() const noexcept { return block; }
    int getBlockLength() const noexcept { return blockLength; }

private:
    explicit FFmpegDecoder (juce::InputStream& stream);

    bool openContainer();
    bool receiveFrame();
    bool copyFrame();

    static int readPacket (void* opaque, uint8_t* buffer, int size);
    static int64_t seek (void* opaque, int64_t offset, int whence);

    juce::InputStream& input;
    const juce::int64 startPosition;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwrContext* converter = nullptr;
    int converterFormat = -1;
    int streamIndex = -1;
    bool flushing = false, finished = false;

    double sampleRate = 0.0;
    int numChannels = 0;
    juce::AudioBuffer<float> block;
    int blockLength = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FFmpegDecoder)
};
