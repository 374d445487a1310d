#include "FileConverter.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>

#include "InputFormats.h"
#include "WavDataOutputStream.h"
#include "WavFileHeader.h"
#include "app/MessageType.h"

namespace
{
    constexpr int blockSize = 16384;
    constexpr juce::int64 maxConvertedLength = (juce::int64) 1 << 32;

    // Large enough that writing is not dominated by system calls.
    constexpr size_t outputBufferSize = 1 << 20;

    // Reads of a few kilobytes each are gathered into fewer system calls.
    constexpr int inputBufferSize = 1 << 18;

    /** Prepares the pages under the converted buffer, which is written once,
        frame by frame: huge pages, so that there are few faults, and those
        faulted in ahead of the resampler on another core, so that the kernel's
        zeroing of fresh memory does not hold up the conversion. The helper
        only asks the kernel to populate pages; it never touches a sample. */
    class BufferPages
    {
    public:
        explicit BufferPages (juce::AudioSampleBuffer& buffer)
        {
            const auto numChannels = buffer.getNumChannels();
            const auto numFrames = (size_t) buffer.getNumSamples();

            if (numChannels == 0 || numFrames == 0)
                return;

            for (int c = 0; c < numChannels; ++c)
                channels.push_back (buffer.getWritePointer (c));

            const auto first = pageStart (channels.front());
            madvise (first, (size_t) (reinterpret_cast<char*> (channels.back() + numFrames) - first), MADV_HUGEPAGE);

            if (numFrames * (size_t) numChannels * sizeof (float) >= prefaultThreshold)
                prefaulter = std::thread ([this, numFrames] { prefault (numFrames); });
        }

        ~BufferPages()
        {
            stop = true;

            if (prefaulter.joinable())
                prefaulter.join();
        }

    private:
        static char* pageStart (void* p)
        {
            return reinterpret_cast<char*> (reinterpret_cast<std::uintptr_t> (p) & ~(std::uintptr_t) 4095);
        }

        void prefault (size_t numFrames)
        {
            // In the order the resampler fills the buffer: all channels, block after block.
            for (size_t start = 0; start < numFrames && ! stop; start += framesPerStep)
            {
                const auto end = juce::jmin (numFrames, start + framesPerStep);

                for (auto* channel : channels)
                {
                    auto* from = pageStart (channel + start);
                    madvise (from, (size_t) (reinterpret_cast<char*> (channel + end) - from), MADV_POPULATE_WRITE);
                }
            }
        }

        static constexpr size_t prefaultThreshold = 16 << 20;
        static constexpr size_t framesPerStep = 1 << 19;

        std::vector<float*> channels;
        std::atomic<bool> stop { false };
        std::thread prefaulter;

        JUCE_DECLARE_NON_COPYABLE (BufferPages)
    };

    /** Removes an existing output so that the new file never starts after old content. */
    void removeExistingOutput (const juce::File& output)
    {
        // A folder of that name is the user's, not an old output.
        if (output.isDirectory())
            throw FileWriteException();

        if (! output.existsAsFile() && ! output.isSymbolicLink())
            return;

        output.deleteFile();
        output.setReadOnly (false, false);

        if (output.existsAsFile() || output.isSymbolicLink())
            output.deleteFile();

        if (output.exists() || output.isSymbolicLink())
            throw FileWriteException();
    }
}

FileConverter::ProgressListener::~ProgressListener() {}

void FileConverter::actionListenerCallback (const juce::String& message)
{
    if (message == getMessageString (MessageType::abort))
        shouldAbort = true;
}

void FileConverter::addListener (ProgressListener* listener)
{
    listeners.add (listener);
}

void FileConverter::notifyListeners()
{
    for (int i = listeners.size(); --i >= 0;)
        listeners.getUnchecked (i)->progressChanged (progress);
}

void FileConverter::convertFile (const juce::File& input, const juce::File& output)
{
    progress = 0.0;

    // Only regular files: a device or a pipe behind an audio name could block
    // the open or feed a reader endless bytes.
    struct stat info {};

    if (stat (input.getFullPathName().toRawUTF8(), &info) != 0 || ! S_ISREG (info.st_mode))
        throw InputFileInvalid();

    auto file = std::make_unique<juce::FileInputStream> (input);

    if (file->failedToOpen())
        throw InputFileInvalid();

    auto stream = std::make_unique<juce::BufferedInputStream> (file.release(), inputBufferSize, true);

    juce::AudioFormatManager manager;
    InputFormats::registerFormats (manager);

    std::unique_ptr<juce::AudioFormatReader> reader (manager.createReaderFor (std::move (stream)));

    if (reader == nullptr)
        throw InputFileInvalid();

    // A rate that truncates to 0 has no ratio; channel counts beyond what the
    // writer holds, or negative lengths, are damaged headers.
    const auto rate = reader->sampleRate;

    if (! (rate >= InputFormats::minSampleRate && rate <= InputFormats::maxSampleRate)
        || reader->numChannels < 1 || reader->numChannels > (unsigned int) InputFormats::maxChannels
        || reader->lengthInSamples < 0)
        throw InputFileInvalid();

    const auto inputRate = (int) rate;
    const auto numChannels = (int) reader->numChannels;

    juce::AudioFormatReaderSource source (reader.release(), true);
    source.setLooping (false);
    source.setNextReadPosition (0);

    auto buffer = resampleToBuffer (source, inputRate, 44100, numChannels);

    if (shouldAbort)
        return;

    progress = 0.5;
    writeWavFile (*buffer, output, 44100, numChannels, 16);
}

std::unique_ptr<juce::AudioSampleBuffer> FileConverter::resampleToBuffer (juce::PositionableAudioSource& source,
                                                                          int inputRate, int outputRate, int numChannels)
{
    shouldAbort = false;

    juce::ResamplingAudioSource resampler (&source, false, numChannels);
    resampler.prepareToPlay (blockSize, inputRate);

    // Single precision on purpose: the converted length must come out as it
    // always has, including its rounding (16777217 frames give 16777216).
    const auto ratio = (float) outputRate / (float) inputRate;
    const auto inputLength = source.getTotalLength();
    const float scaledLength = (float) inputLength * ratio;

    // Compared as a float first: casting a float beyond the 64-bit range is undefined.
    if (scaledLength > (float) maxConvertedLength)
        throw NewSampleTooLarge();

    const auto newLength = (juce::int64) scaledLength;

    // One buffer holds at most a signed 32-bit count of frames.
    if (newLength > maxConvertedLength || newLength > std::numeric_limits<int>::max())
        throw NewSampleTooLarge();

    const auto outputBlock = (int) (ratio * (float) blockSize);

    std::unique_ptr<juce::AudioSampleBuffer> buffer;

    try
    {
        buffer = std::make_unique<juce::AudioSampleBuffer> (numChannels, (int) newLength);
    }
    catch (const std::bad_alloc&)
    {
        throw NewSampleTooLarge();
    }

    const BufferPages pages (*buffer);

    const auto wholeBlocks = inputLength / blockSize;
    resampler.setResamplingRatio ((double) inputRate / (double) outputRate);
    progress = 0.0;

    for (juce::int64 i = 0; i < wholeBlocks; ++i)
    {
        const auto start = i * outputBlock;

        // The single-precision length can fall a few frames short of the
        // blocks for odd rates; the buffer's end is never passed.
        const auto count = (int) juce::jlimit ((juce::int64) 0, (juce::int64) outputBlock, newLength - start);

        if (count > 0)
            resampler.getNextAudioBlock (juce::AudioSourceChannelInfo (buffer.get(), (int) start, count));

        if (shouldAbort)
            return {};

        progress = (double) start / (double) newLength * 0.5;
        notifyListeners();
    }

    const auto remainder = newLength - wholeBlocks * outputBlock;

    if (remainder > 0)
        resampler.getNextAudioBlock (juce::AudioSourceChannelInfo (buffer.get(), (int) (wholeBlocks * outputBlock),
                                                                   (int) remainder));

    notifyListeners();
    return buffer;
}

void FileConverter::writeWavFile (const juce::AudioSampleBuffer& buffer, const juce::File& output,
                                  int sampleRate, int numChannels, int bitsPerSample)
{
    removeExistingOutput (output);

    auto file = output.createOutputStream (outputBufferSize);
    juce::WavAudioFormat wavFormat;
    juce::StringPairArray metadata;

    if (file == nullptr || file->failedToOpen())
        throw FileWriteException();

    const auto numFrames = buffer.getNumSamples();
    const auto dataSize = (juce::uint64) numFrames * (juce::uint64) numChannels * (juce::uint64) bitsPerSample / 8;
    const auto headerSize = WavFileHeader::getSize (numChannels, dataSize);

    const auto fail = [&]
    {
        file.reset();
        output.deleteFile();
        throw FileWriteException();
    };

    // The header goes first with a data size of 0, and is completed at the end.
    {
        const auto header = WavFileHeader::create (numChannels, sampleRate, bitsPerSample,
                                                   dataSize >= WavFileHeader::rf64Threshold ? dataSize : 0);
        if (! file->write (header.getData(), header.getSize()))
            fail();
    }

    auto dataStream = std::make_unique<WavDataOutputStream> (*file, headerSize);
    auto* data = dataStream.get();
    std::unique_ptr<juce::AudioFormatWriter> writer (wavFormat.createWriterFor (dataStream.get(), (double) sampleRate,
                                                                                (unsigned int) numChannels, bitsPerSample,
                                                                                metadata, 0));
    if (writer == nullptr)
        fail();

    dataStream.release();
    data->startData();

    const auto wholeBlocks = numFrames / blockSize;

    for (int j = 0; j < wholeBlocks; ++j)
    {
        if (! writer->writeFromAudioSampleBuffer (buffer, j * blockSize, blockSize))
        {
            writer.reset();
            fail();
        }

        progress = (double) (j * blockSize) / (double) numFrames * 0.5 + 0.5;

        if (shouldAbort)
        {
            writer.reset();
            file.reset();
            output.deleteFile();
            return;
        }

        notifyListeners();
    }

    // The rest in one call: the same bytes as frame by frame, without the overhead.
    const auto remaining = numFrames - wholeBlocks * blockSize;

    if (remaining > 0 && ! writer->writeFromAudioSampleBuffer (buffer, wholeBlocks * blockSize, remaining))
    {
        writer.reset();
        fail();
    }

    progress = 1.0;
    notifyListeners();

    const auto dataFailed = data->hasFailed();
    writer.reset();

    if (dataFailed)
        fail();

    // The final sizes, over the placeholder.
    const auto header = WavFileHeader::create (numChannels, sampleRate, bitsPerSample, dataSize);

    if (! file->setPosition (0) || ! file->write (header.getData(), header.getSize()))
        fail();

    file->flush();

    if (file->getStatus().failed())
        fail();

    file.reset();

    // A short file is a failed write, whatever the streams said.
    if (output.getSize() != (juce::int64) ((juce::uint64) headerSize + dataSize))
    {
        output.deleteFile();
        throw FileWriteException();
    }
}
