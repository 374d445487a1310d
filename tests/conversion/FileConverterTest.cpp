#include <gtest/gtest.h>
#include <sys/resource.h>
#include <csignal>

#include "TestAudio.h"
#include "app/MessageType.h"
#include "conversion/FileConverter.h"
#include "conversion/WavFileHeader.h"
#include "support/TemporaryFolder.h"

using namespace TestAudio;

// The allocation test asks for far more memory than exists: under
// AddressSanitizer that must fail as it does without it, by returning null.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace
{
    struct RecordingListener : public FileConverter::ProgressListener
    {
        void progressChanged (const double& p) override
        {
            values.push_back (p);

            if (onProgress)
                onProgress (p);
        }

        std::vector<double> values;
        std::function<void (double)> onProgress;
    };

    struct ConverterFixture : public ::testing::Test
    {
        ConverterFixture() { converter.addListener (&listener); }

        juce::File input (const juce::String& name, int channels, int frames, double rate, int bits = 32,
                          const Generator& g = ramp)
        {
            return writeFile (folder.getFile().getChildFile (name), channels, frames, rate, bits, g);
        }

        juce::File out (const juce::String& name = "OUT.wav") const { return folder.getFile().getChildFile (name); }

        TemporaryFolder folder;
        FileConverter converter;
        RecordingListener listener;
    };

    /** The header as the player's format lays it out, field by field. */
    juce::MemoryBlock expectedHeader (int channels, juce::uint32 dataSize)
    {
        juce::MemoryOutputStream h;
        const auto extensible = channels > 2;
        h.write ("RIFF", 4);
        h.writeInt ((int) (dataSize + (extensible ? 60u : 36u)));
        h.write ("WAVEfmt ", 8);
        h.writeInt (extensible ? 40 : 16);
        h.writeShort ((short) (extensible ? 0xfffe : 1));
        h.writeShort ((short) channels);
        h.writeInt (44100);
        h.writeInt (44100 * 2 * channels);
        h.writeShort ((short) (2 * channels));
        h.writeShort (16);

        if (extensible)
        {
            const std::map<int, int> masks { { 3, 7 }, { 4, 51 }, { 5, 55 }, { 6, 63 }, { 7, 1591 }, { 8, 1599 } };
            const juce::uint8 guid[] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
            h.writeShort (22);
            h.writeShort (16);
            h.writeInt (masks.count (channels) != 0 ? masks.at (channels) : 0);
            h.write (guid, sizeof (guid));
        }

        h.write ("data", 4);
        h.writeInt ((int) dataSize);
        return h.getMemoryBlock();
    }

    juce::MemoryBlock prefix (const juce::MemoryBlock& bytes, size_t n)
    {
        return juce::MemoryBlock (bytes.getData(), juce::jmin (n, bytes.getSize()));
    }
}

TEST_F (ConverterFixture, HeaderOfEveryChannelCountIsThePlayersLayout)
{
    for (int channels : { 1, 2, 3, 4, 5, 6, 7, 8, 9, 12 })
    {
        SCOPED_TRACE (channels);
        const int frames = 300;
        converter.convertFile (input ("in.wav", channels, frames, 44100.0), out());

        const auto bytes = readBytes (out());
        const auto header = expectedHeader (channels, (juce::uint32) (frames * 2 * channels));
        EXPECT_EQ (bytes.getSize(), header.getSize() + (size_t) (frames * 2 * channels));
        EXPECT_EQ (prefix (bytes, header.getSize()), header);
    }
}

TEST_F (ConverterFixture, LengthsOfTheRateCases)
{
    struct Case { const char* name; double rate; int channels, frames, bits; juce::int64 expectedFrames; };
    const Case cases[] = {
        { "stereo44100.wav", 44100.0, 2, 441000, 16, 441000 },
        { "rate48000.wav",   48000.0, 1, 480000, 24, 441000 },
        { "rate22050.wav",   22050.0, 1, 1000,   16, 2000 },
        { "half.aiff",       44100.5, 2, 5000,   16, 5000 },
        { "empty.wav",       44100.0, 2, 0,      16, 0 },
        { "rate96000.aif",   96000.0, 1, 96000,  24, 44100 },
        { "rate8000.wav",    8000.0,  1, 8000,   8,  44100 },
        // The length is rounded to single precision even at equal rates.
        { "rounding.wav",    44100.0, 1, 16777217, 8, 16777216 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        converter.convertFile (input (c.name, c.channels, c.frames, c.rate, c.bits), out());

        const auto bytes = readBytes (out());
        const auto dataSize = (juce::uint32) (c.expectedFrames * 2 * c.channels);
        EXPECT_EQ (bytes.getSize(), 44 + (size_t) dataSize);
        EXPECT_EQ (prefix (bytes, 44), expectedHeader (c.channels, dataSize));
    }
}

TEST_F (ConverterFixture, RF64HeaderOnceTheDataReaches4GiB)
{
    // Too large to write in a test; the header that would go over it is checked.
    const juce::uint64 dataSize = ((juce::uint64) 1 << 32) + 4;
    const auto header = WavFileHeader::create (2, 44100, 16, dataSize);
    ASSERT_EQ (header.getSize(), 104u);
    const auto* h = static_cast<const char*> (header.getData());

    EXPECT_EQ (juce::MemoryBlock (h, 4), juce::MemoryBlock ("RF64", 4));
    EXPECT_EQ (readUInt32 (header, 4), 0xffffffffu);
    EXPECT_EQ (juce::MemoryBlock (h + 8, 12), juce::MemoryBlock ("WAVEds64\x1c\0\0\0", 12));
    EXPECT_EQ (juce::ByteOrder::littleEndianInt64 (h + 20), (juce::uint64) (96 + dataSize));
    EXPECT_EQ (juce::ByteOrder::littleEndianInt64 (h + 28), dataSize);
    EXPECT_EQ (juce::MemoryBlock (h + 36, 12), juce::MemoryBlock (12, true));

    // The 40-byte "fmt " chunk whatever the channel count: here two, mask 0.
    const juce::uint8 guid[] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
    EXPECT_EQ (juce::MemoryBlock (h + 48, 4), juce::MemoryBlock ("fmt ", 4));
    EXPECT_EQ (readUInt32 (header, 52), 40u);
    EXPECT_EQ (readUInt16 (header, 56), 0xfffeu);
    EXPECT_EQ (readUInt16 (header, 58), 2u);
    EXPECT_EQ (readUInt32 (header, 60), 44100u);
    EXPECT_EQ (readUInt32 (header, 64), 176400u);
    EXPECT_EQ (readUInt16 (header, 68), 4u);
    EXPECT_EQ (readUInt16 (header, 70), 16u);
    EXPECT_EQ (readUInt16 (header, 72), 22u);
    EXPECT_EQ (readUInt16 (header, 74), 16u);
    EXPECT_EQ (readUInt32 (header, 76), 0u);
    EXPECT_EQ (juce::MemoryBlock (h + 80, 16), juce::MemoryBlock (guid, 16));
    EXPECT_EQ (juce::MemoryBlock (h + 96, 4), juce::MemoryBlock ("data", 4));
    EXPECT_EQ (readUInt32 (header, 100), 0xffffffffu);
}

TEST_F (ConverterFixture, TooLongConvertedSamplesAreRejectedBeforeAnything)
{
    const juce::MemoryBlock old ("old", 3);
    folder.createFile ("OUT.wav", old);

    // At 1 Hz every input frame becomes 44100: beyond 2^32 frames, beyond one
    // buffer's signed 32-bit frame count, and beyond the memory there is.
    struct Case { int channels, frames; };

    for (auto c : { Case { 1, 100000 }, Case { 1, 49000 }, Case { 100, 48000 } })
    {
        SCOPED_TRACE (c.frames);
        EXPECT_THROW (converter.convertFile (input ("slow.wav", c.channels, c.frames, 1.0, 8), out()), NewSampleTooLarge);
        EXPECT_EQ (readBytes (out()), old);
    }
}

TEST_F (ConverterFixture, RateBelowOneHertzIsInvalid)
{
    // The framework's AIFF reader truncates rates: 0.5 Hz reads as 0.
    juce::MemoryOutputStream aiff;
    aiff.write ("FORM", 4);
    aiff.writeIntBigEndian (4 + 26 + 16 + 4);
    aiff.write ("AIFFCOMM", 8);
    aiff.writeIntBigEndian (18);
    aiff.writeShortBigEndian (1);
    aiff.writeIntBigEndian (2);
    aiff.writeShortBigEndian (16);
    const juce::uint8 halfHertz[] = { 0x3f, 0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0 };
    aiff.write (halfHertz, 10);
    aiff.write ("SSND", 4);
    aiff.writeIntBigEndian (12);
    aiff.writeRepeatedByte (0, 12);

    EXPECT_THROW (converter.convertFile (folder.createFile ("slow.aiff", aiff.getMemoryBlock()), out()), InputFileInvalid);
    EXPECT_FALSE (out().exists());
}

TEST_F (ConverterFixture, EqualRatesPassEverySampleThrough)
{
    // 44100.5 Hz counts as 44100 Hz: an AIFF at that rate is not resampled either.
    for (auto* name : { "pass.wav", "pass.aiff" })
    {
        SCOPED_TRACE (name);
        const auto isAiff = juce::String (name).endsWith ("aiff");
        auto in = folder.getFile().getChildFile (name);
        writeFile (in, makeBuffer (3, 40000), isAiff ? 44100.5 : 44100.0, isAiff ? 24 : 32);

        // What the framework's reader makes of the input is what must pass through.
        const auto source = readFloats (in);
        ASSERT_EQ (source.getNumSamples(), 40000);
        converter.convertFile (in, out());

        const auto samples = readSamples (out(), 3, 68);
        ASSERT_EQ (samples[0].size(), 40000u);

        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 40000; ++i)
                ASSERT_EQ (samples[(size_t) c][(size_t) i], expected16Bit (source.getSample (c, i))) << c << ":" << i;
    }
}

TEST_F (ConverterFixture, SampleValuesAreClippedAndRoundedAsTheWriterDoes)
{
    const float values[] = { 1.0f, -1.0f, 1.5f, -1.5f, 0.5f, -0.5f, 0.0f, 1.0f / 65536.0f, 0.99999f, -0.99999f };
    const auto n = (int) std::size (values);
    converter.convertFile (input ("v.wav", 1, n, 44100.0, 32, [&] (int, int i) { return values[i]; }), out());

    const auto samples = readSamples (out(), 1, 44)[0];
    ASSERT_EQ (samples.size(), (size_t) n);
    EXPECT_EQ (samples[0], 32767);
    EXPECT_EQ (samples[1], -32768);
    EXPECT_EQ (samples[2], 32767);
    EXPECT_EQ (samples[3], -32768);

    for (int i = 4; i < n; ++i)
        EXPECT_EQ (samples[(size_t) i], expected16Bit (values[i])) << i;
}

TEST_F (ConverterFixture, ResampledSignalKeepsItsShape)
{
    // A 441 Hz tone at 48 kHz must come out as a 441 Hz tone: 100 samples a period.
    const auto tone = [] (int, int i) { return 0.5f * (float) std::sin (2.0 * juce::MathConstants<double>::pi * 441.0 * i / 48000.0); };
    converter.convertFile (input ("tone.wav", 1, 48000, 48000.0, 32, tone), out());

    const auto samples = readSamples (out(), 1, 44)[0];
    ASSERT_EQ (samples.size(), 44100u);
    double maxError = 0.0;

    for (size_t i = 200; i < samples.size() - 200; ++i)
        maxError = juce::jmax (maxError, std::abs (samples[i] / 32768.0 - 0.5 * std::sin (2.0 * juce::MathConstants<double>::pi * (double) i / 100.0)));

    EXPECT_LT (maxError, 0.02);
}

TEST_F (ConverterFixture, ProgressSequence)
{
    converter.convertFile (input ("short.wav", 2, 16383, 44100.0), out());
    EXPECT_EQ (listener.values, (std::vector<double> { 0.0, 1.0 }));

    listener.values.clear();
    converter.convertFile (input ("long.wav", 1, 480000, 48000.0), out());

    std::vector<double> expected;

    for (int i = 0; i < 29; ++i)
        expected.push_back ((double) (i * 15052) / 441000.0 * 0.5);

    expected.push_back (expected.back());

    for (int j = 0; j < 441000 / 16384; ++j)
        expected.push_back ((double) (j * 16384) / 441000.0 * 0.5 + 0.5);

    expected.push_back (1.0);
    EXPECT_EQ (listener.values, expected);
}

TEST_F (ConverterFixture, ListenersAreCalledLastAddedFirst)
{
    std::vector<int> order;
    RecordingListener second;
    listener.onProgress = [&] (double) { order.push_back (1); };
    second.onProgress = [&] (double) { order.push_back (2); };
    converter.addListener (&second);

    converter.convertFile (input ("s.wav", 1, 10, 44100.0), out());
    EXPECT_EQ (order, (std::vector<int> { 2, 1, 2, 1 }));
}

TEST_F (ConverterFixture, UnreadableInputLeavesTheOutputUntouched)
{
    const juce::MemoryBlock old ("old contents", 12);
    const auto existing = folder.createFile ("OUT.wav", old);
    const auto text = folder.createFile ("notes.wav", juce::MemoryBlock ("just some text\n", 15));
    const auto device = folder.getFile().getChildFile ("zero.flac");
    ASSERT_TRUE (juce::File ("/dev/zero").createSymbolicLink (device, false));

    for (auto in : { text, folder.getFile().getChildFile ("missing.wav"), folder.getFile(), device })
    {
        SCOPED_TRACE (in.getFullPathName());
        EXPECT_THROW (converter.convertFile (in, existing), InputFileInvalid);
        EXPECT_EQ (readBytes (existing), old);
        EXPECT_TRUE (listener.values.empty());
    }
}

TEST_F (ConverterFixture, ReplacingAnOutputNeverLeavesOldBytes)
{
    converter.convertFile (input ("in.wav", 2, 1000, 44100.0), out ("fresh.wav"));
    const auto fresh = readBytes (out ("fresh.wav"));

    juce::MemoryBlock garbage (200000);
    garbage.fillWith (0x5a);

    for (bool readOnly : { false, true })
    {
        SCOPED_TRACE (readOnly);
        auto existing = folder.createFile ("OUT.wav", garbage);
        existing.setReadOnly (readOnly);
        converter.convertFile (folder.getFile().getChildFile ("in.wav"), existing);
        EXPECT_EQ (readBytes (existing), fresh);
    }
}

TEST_F (ConverterFixture, OutputThatCannotBeOpenedIsAWriteError)
{
    const auto in = input ("in.wav", 1, 100, 44100.0);
    const auto folderNamedLikeOutput = folder.getFile().getChildFile ("DIR.wav");
    folderNamedLikeOutput.createDirectory();

    EXPECT_THROW (converter.convertFile (in, folder.getFile().getChildFile ("missing/OUT.wav")), FileWriteException);
    EXPECT_THROW (converter.convertFile (in, folderNamedLikeOutput), FileWriteException);
    EXPECT_TRUE (folderNamedLikeOutput.isDirectory());
}

TEST_F (ConverterFixture, AbortWhileWritingLeavesNoFile)
{
    const auto in = input ("in.wav", 2, 100000, 44100.0);
    folder.createFile ("OUT.wav", juce::MemoryBlock ("old", 3));
    listener.onProgress = [&] (double p) { if (p > 0.5) converter.shouldAbort = true; };

    converter.convertFile (in, out());
    EXPECT_FALSE (out().exists());
    EXPECT_LT (listener.values.back(), 1.0);
}

TEST_F (ConverterFixture, AbortWhileResamplingLeavesTheOldOutput)
{
    const auto in = input ("in.wav", 2, 100000, 44100.0);
    const juce::MemoryBlock old ("old", 3);
    folder.createFile ("OUT.wav", old);
    listener.onProgress = [&] (double) { converter.actionListenerCallback (getMessageString (MessageType::abort)); };

    converter.convertFile (in, out());
    EXPECT_EQ (readBytes (out()), old);
    EXPECT_EQ (listener.values, (std::vector<double> { 0.0 }));

    // The flag is cleared by the next conversion, which then completes.
    listener.onProgress = nullptr;
    converter.convertFile (in, out());
    EXPECT_EQ (readBytes (out()).getSize(), 44u + 400000u);
}

TEST_F (ConverterFixture, OnlyTheExactAbortMessageAborts)
{
    for (auto* message : { "abort", "Abort ", "", "Convert", "Clear All" })
    {
        converter.actionListenerCallback (message);
        EXPECT_FALSE (converter.shouldAbort.load()) << message;
    }

    converter.actionListenerCallback ("Abort");
    EXPECT_TRUE (converter.shouldAbort.load());
}

TEST_F (ConverterFixture, FullDiskIsAWriteErrorAndLeavesNoFile)
{
    const auto in = input ("in.wav", 2, 200000, 44100.0);

    // A file-size limit stands in for a full disk: writes beyond it fail with EFBIG.
    rlimit previous {};
    ASSERT_EQ (getrlimit (RLIMIT_FSIZE, &previous), 0);
    auto* previousHandler = std::signal (SIGXFSZ, SIG_IGN);

    for (rlim_t limit : { (rlim_t) 30, (rlim_t) 100000, (rlim_t) 799000 })
    {
        SCOPED_TRACE ((juce::int64) limit);
        rlimit small = previous;
        small.rlim_cur = limit;
        ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &small), 0);

        EXPECT_THROW (converter.convertFile (in, out()), FileWriteException);

        ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &previous), 0);
        EXPECT_FALSE (out().exists());
    }

    std::signal (SIGXFSZ, previousHandler);
    converter.convertFile (in, out());
    EXPECT_EQ (out().getSize(), 44 + 800000);
}
