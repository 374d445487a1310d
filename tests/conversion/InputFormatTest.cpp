#include <gtest/gtest.h>

#include "TestAudio.h"
#include "conversion/FileConverter.h"
#include "conversion/InputFormats.h"
#include "support/TemporaryFolder.h"

using namespace TestAudio;

namespace
{
    constexpr int referenceFrames = 66150;   // 1.5 s at 44.1 kHz

    /** Samples in every format, made once by the script from one reference signal. */
    struct FormatFixture : public ::testing::Test
    {
        static void SetUpTestSuite()
        {
            samples = std::make_unique<TemporaryFolder> ("orvo-formats");
            const auto script = juce::File (juce::SystemStats::getEnvironmentVariable ("ORVO_SOURCE_DIR", {}))
                                    .getChildFile ("tests/conversion/make_format_samples.sh");
            const auto command = "sh " + script.getFullPathName().quoted() + " " + samples->getFile().getFullPathName().quoted();
            ASSERT_EQ (std::system (command.toRawUTF8()), 0) << command;
        }

        static void TearDownTestSuite() { samples.reset(); }

        static juce::File sample (const juce::String& name) { return samples->getFile().getChildFile (name); }

        juce::File convert (const juce::String& name)
        {
            auto output = out.getFile().getChildFile (juce::File::createLegalFileName (name) + ".wav");
            converter.convertFile (sample (name), output);
            return output;
        }

        static std::unique_ptr<juce::AudioFormatReader> openReader (const juce::File& file)
        {
            juce::AudioFormatManager manager;
            InputFormats::registerFormats (manager);
            return std::unique_ptr<juce::AudioFormatReader> (manager.createReaderFor (file.createInputStream()));
        }

        /** The lag (in frames, within ±maxLag) at which the test signal best matches the reference. */
        static int bestLag (const std::vector<juce::int16>& signal, const std::vector<juce::int16>& reference, int maxLag = 200)
        {
            int best = 0;
            double bestScore = -1.0e300;

            for (int lag = -maxLag; lag <= maxLag; ++lag)
            {
                double score = 0.0;

                for (int i = maxLag + 2000; i < maxLag + 20000; ++i)
                    score += (double) signal[(size_t) (i + lag)] * reference[(size_t) i];

                if (score > bestScore)
                {
                    bestScore = score;
                    best = lag;
                }
            }

            return best;
        }

        static std::unique_ptr<TemporaryFolder> samples;
        TemporaryFolder out;
        FileConverter converter;
    };

    std::unique_ptr<TemporaryFolder> FormatFixture::samples;
}

TEST_F (FormatFixture, LosslessFormatsGiveTheReferenceBytes)
{
    const auto reference = readBytes (convert ("ref.wav"));
    ASSERT_EQ (reference.getSize(), 44u + referenceFrames * 4u);

    for (auto* name : { "ref.bwf", "ref.aiff", "ref.flac" })
        EXPECT_EQ (readBytes (convert (name)), reference) << name;
}

TEST_F (FormatFixture, LossyFormatsKeepLengthAndStart)
{
    const auto reference = readSamples (convert ("ref.wav"), 2, 44);

    // MP3 and Vorbis store their exact length: the encoder's delay and padding are gone.
    for (auto* name : { "ref.mp3", "ref.ogg" })
    {
        SCOPED_TRACE (name);
        const auto converted = readSamples (convert (name), 2, 44);
        ASSERT_EQ (converted[0].size(), (size_t) referenceFrames);

        for (int c = 0; c < 2; ++c)
            EXPECT_EQ (bestLag (converted[(size_t) c], reference[(size_t) c]), 0);
    }

    const auto reference48k = readSamples (convert ("ref48k.wav"), 1, 44);
    const auto mp3At48k = readSamples (convert ("ref48k.mp3"), 1, 44);
    ASSERT_EQ (mp3At48k[0].size(), 44100u);
    EXPECT_EQ (bestLag (mp3At48k[0], reference48k[0]), 0);
}

TEST_F (FormatFixture, WindowsMediaFilesAndTheAudioOfAVideo)
{
    const auto reference = readSamples (convert ("ref.wav"), 2, 44);

    for (auto* name : { "ref.wma", "ref.asf", "ref.wm", "ref.wmv" })
    {
        SCOPED_TRACE (name);
        const auto reader = openReader (sample (name));
        ASSERT_NE (reader, nullptr);
        EXPECT_EQ (reader->numChannels, 2u);
        EXPECT_EQ (reader->sampleRate, 44100.0);

        // The container has no exact length: the length is what decodes, which
        // is the signal within a few codec frames (this encoder drops the last
        // partial frame).
        EXPECT_GE (reader->lengthInSamples, referenceFrames - 2048);
        EXPECT_LE (reader->lengthInSamples, referenceFrames + 3 * 2048);

        const auto converted = readSamples (convert (name), 2, 44);
        EXPECT_EQ ((juce::int64) converted[0].size(), reader->lengthInSamples);

        // The codec's own delay shifts the sound a little; it is the same sound.
        const auto lag = bestLag (converted[0], reference[0], 2100);
        EXPECT_LE (std::abs (lag), 2100);
        double error = 0.0, energy = 0.0;

        for (int i = 4000; i < 58000; ++i)
        {
            const double d = converted[0][(size_t) (i + lag)] - reference[0][(size_t) i];
            error += d * d;
            energy += (double) reference[0][(size_t) i] * reference[0][(size_t) i];
        }

        EXPECT_LT (error / energy, 0.05);
    }
}

TEST_F (FormatFixture, ReadsAtAnyPositionGiveTheSameSamples)
{
    for (auto* name : { "ref.mp3", "ref.wma" })
    {
        SCOPED_TRACE (name);
        const auto reader = openReader (sample (name));
        ASSERT_NE (reader, nullptr);
        const auto length = (int) reader->lengthInSamples;

        juce::AudioBuffer<float> whole (2, length);
        reader->read (&whole, 0, length, 0, true, true);

        juce::Random random (42);
        juce::AudioBuffer<float> part (2, 5000);

        for (int k = 0; k < 12; ++k)
        {
            const auto start = random.nextInt (length - 100);
            const auto count = juce::jmin (1 + random.nextInt (5000), length - start);
            reader->read (&part, 0, count, start, true, true);

            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < count; ++i)
                    ASSERT_EQ (part.getSample (c, i), whole.getSample (c, start + i)) << start << "+" << i;
        }

        // Past the end there is silence.
        part.clear();
        reader->read (&part, 0, 100, length - 50, true, true);
        EXPECT_EQ (part.getSample (0, 49), whole.getSample (0, length - 1));
        EXPECT_EQ (part.getMagnitude (50, 50), 0.0f);
    }
}

TEST_F (FormatFixture, TruncatedAndDamagedCompressedFiles)
{
    for (auto* name : { "ref.mp3", "ref.wma", "ref.wmv", "ref.flac", "ref.ogg" })
    {
        juce::MemoryBlock whole;
        sample (name).loadFileAsData (whole);
        const auto extension = juce::File (name).getFileExtension();

        for (double fraction : { 0.0, 0.01, 0.1, 0.5, 0.9 })
        {
            SCOPED_TRACE (juce::String (name) + " cut at " + juce::String (fraction));
            const auto cut = out.createFile ("cut" + extension, juce::MemoryBlock (whole.getData(), (size_t) (whole.getSize() * fraction)));
            const auto output = out.getFile().getChildFile ("CUT.wav");

            // Either the decodable part or an invalid input; never more frames than the whole.
            try
            {
                converter.convertFile (cut, output);
                const auto frames = (output.getSize() - 44) / 4;
                EXPECT_LE (frames, (juce::int64) referenceFrames + 3 * 2048);

                if (juce::String (name).endsWith ("mp3"))
                    EXPECT_LT (frames, (juce::int64) (referenceFrames * fraction) + 2 * 1152);
            }
            catch (const InputFileInvalid&) {}

            // The same with every 97th byte of the body scrambled.
            auto damaged = whole;

            for (size_t i = 200; i < damaged.getSize(); i += 97)
                damaged[i] = (char) (damaged[i] ^ 0x5a);

            const auto bad = out.createFile ("bad" + extension, damaged);

            try
            {
                converter.convertFile (bad, output);
            }
            catch (const InputFileInvalid&) {}
        }
    }
}
