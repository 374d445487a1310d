#include <gtest/gtest.h>

#include "TestAudio.h"
#include "conversion/FileConverter.h"
#include "support/TemporaryFolder.h"

using namespace TestAudio;

namespace
{
    /** Builds RIFF and AIFF files byte by byte, so that each field can be wrong. */
    struct Bytes
    {
        Bytes& id (const char* fourCC) { out.write (fourCC, 4); return *this; }
        Bytes& le32 (juce::uint32 v) { out.writeInt ((int) v); return *this; }
        Bytes& le16 (int v) { out.writeShort ((short) v); return *this; }
        Bytes& be32 (juce::uint32 v) { out.writeIntBigEndian ((int) v); return *this; }
        Bytes& be16 (int v) { out.writeShortBigEndian ((short) v); return *this; }
        Bytes& raw (const juce::MemoryBlock& b) { out.write (b.getData(), b.getSize()); return *this; }
        Bytes& raw (std::initializer_list<juce::uint8> b) { for (auto x : b) out.writeByte ((char) x); return *this; }
        juce::MemoryBlock get() const { return out.getMemoryBlock(); }

        juce::MemoryOutputStream out;
    };

    /** 16-bit little-endian stereo sample data: a ramp that uses the whole range. */
    juce::MemoryBlock pcm16 (int frames, bool bigEndian = false)
    {
        Bytes b;

        for (int i = 0; i < frames * 2; ++i)
        {
            const auto v = (juce::int16) ((i * 977) & 0xfff0);
            bigEndian ? b.be16 (v) : b.le16 (v);
        }

        return b.get();
    }

    juce::MemoryBlock fmt (int tag, int channels, juce::uint32 rate, int blockAlign, int bits)
    {
        Bytes b;
        b.id ("fmt ").le32 (16).le16 (tag).le16 (channels).le32 (rate).le32 (rate * (juce::uint32) blockAlign).le16 (blockAlign).le16 (bits);
        return b.get();
    }

    juce::MemoryBlock chunk (const char* id, const juce::MemoryBlock& body, juce::int64 declaredSize = -1)
    {
        Bytes b;
        b.id (id).le32 ((juce::uint32) (declaredSize >= 0 ? declaredSize : (juce::int64) body.getSize())).raw (body);

        if ((body.getSize() & 1) != 0)
            b.raw ({ 0 });

        return b.get();
    }

    juce::MemoryBlock riff (std::initializer_list<juce::MemoryBlock> chunks, juce::int64 riffSize = -1)
    {
        juce::MemoryBlock body;

        for (auto& c : chunks)
            body.append (c.getData(), c.getSize());

        Bytes b;
        b.id ("RIFF").le32 ((juce::uint32) (riffSize >= 0 ? riffSize : (juce::int64) body.getSize() + 4)).id ("WAVE").raw (body);
        return b.get();
    }

    juce::MemoryBlock aiff (int channels, juce::uint32 frames, int bits, std::initializer_list<juce::uint8> rate,
                            const juce::MemoryBlock& data, const char* compression = nullptr,
                            const juce::MemoryBlock& extraChunk = {})
    {
        Bytes comm;
        comm.be16 (channels).be32 (frames).be16 (bits).raw (rate);

        if (compression != nullptr)
            comm.id (compression).raw ({ 0, 0 });

        Bytes body;
        body.id (compression != nullptr ? "AIFC" : "AIFF")
            .id ("COMM").be32 ((juce::uint32) comm.get().getSize()).raw (comm.get())
            .raw (extraChunk)
            .id ("SSND").be32 ((juce::uint32) data.getSize() + 8).be32 (0).be32 (0).raw (data);

        Bytes file;
        file.id ("FORM").be32 ((juce::uint32) body.get().getSize()).raw (body.get());
        return file.get();
    }

    const std::initializer_list<juce::uint8> rate44100 { 0x40, 0x0e, 0xac, 0x44, 0, 0, 0, 0, 0, 0 };

    struct MalformedFixture : public ::testing::Test
    {
        juce::MemoryBlock convert (const juce::MemoryBlock& bytes, const char* extension = ".wav")
        {
            const auto in = folder.createFile (juce::String ("in") + extension, bytes);
            const auto out = folder.getFile().getChildFile ("OUT.wav");
            out.deleteFile();
            converter.convertFile (in, out);
            return readBytes (out);
        }

        /** A stereo 44.1 kHz FLAC file of the given length, written by the framework. */
        juce::MemoryBlock flacBytes (int frames)
        {
            juce::MemoryBlock bytes;
            {
                // The writer owns the stream and completes the header when it goes.
                auto out = std::make_unique<juce::MemoryOutputStream> (bytes, false);
                juce::FlacAudioFormat flac;
                std::unique_ptr<juce::AudioFormatWriter> writer (flac.createWriterFor (out.get(), 44100.0, 2, 16, {}, 0));

                if (writer == nullptr)
                    return {};

                out.release();
                writer->writeFromAudioSampleBuffer (makeBuffer (2, frames), 0, frames);
            }
            return bytes;
        }

        bool isInvalid (const juce::MemoryBlock& bytes, const char* extension = ".wav")
        {
            try
            {
                convert (bytes, extension);
                return false;
            }
            catch (const InputFileInvalid&)
            {
                return true;
            }
        }

        TemporaryFolder folder;
        FileConverter converter;
    };
}

TEST_F (MalformedFixture, WavHeadersThatTheReaderCannotTakeAreInvalid)
{
    const auto data = chunk ("data", pcm16 (100));

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "no channels",            riff ({ fmt (1, 0, 44100, 4, 16), data }) },
        { "frames beyond 5760 B",   riff ({ fmt (1, 2000, 44100, 4000, 16), data }) },
        { "block align 0",          riff ({ fmt (1, 2, 44100, 0, 16), data }) },
        { "block align not frames", riff ({ fmt (1, 2, 44100, 3, 16), data }) },
        { "rate 0",                 riff ({ fmt (1, 2, 0, 4, 16), data }) },
        { "absurd rate",            riff ({ fmt (1, 2, 0xfffffff0, 4, 16), data }) },
        { "64-bit float",           riff ({ fmt (3, 2, 44100, 16, 64), data }) },
        { "16-bit float",           riff ({ fmt (3, 2, 44100, 4, 16), data }) },
        { "bits beyond container",  riff ({ fmt (1, 2, 44100, 4, 20), data }) },
        { "compressed tag",         riff ({ fmt (2, 2, 44100, 4, 16), data }) },
        { "no data chunk",          riff ({ fmt (1, 2, 44100, 4, 16) }) },
        { "no fmt chunk",           riff ({ data }) },
        { "fmt cut short",          juce::MemoryBlock (riff ({ fmt (1, 2, 44100, 4, 16) }).getData(), 26) },
        { "extensible, odd guid",   riff ({ chunk ("fmt ", Bytes().le16 (0xfffe).le16 (2).le32 (44100).le32 (176400).le16 (4).le16 (16)
                                                               .le16 (22).le16 (16).le32 (3).raw (juce::MemoryBlock (16, true)).get()), data }) },
        { "header only",            juce::MemoryBlock ("RIFF\0\0\0\0WAVE", 12) },
    };

    for (auto& [name, bytes] : cases)
        EXPECT_TRUE (isInvalid (bytes)) << name;
}

TEST_F (MalformedFixture, WavQuirksReadAsTheSoundFileTheyHold)
{
    const auto clean = convert (riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000)) }));
    ASSERT_EQ (clean.getSize(), 44u + 4000u);

    juce::MemoryBlock adtlPastTheEnd = Bytes().id ("adtl").id ("labl").le32 (0x7ffffff0).get();
    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        // Chunks that stall or exhaust the framework's own parser.
        { "list past the end",    riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000)), chunk ("LIST", adtlPastTheEnd, 0x7fffff00) }) },
        { "huge bext",            riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000)), chunk ("bext", juce::MemoryBlock (10, true), 0xfffffff0) }) },
        { "fmt after data",       riff ({ chunk ("data", pcm16 (1000)), fmt (1, 2, 44100, 4, 16) }) },
        // Sizes that a stopped recorder or a streaming writer leaves.
        { "riff size wrong",      riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000)) }, 12) },
        { "data size too large",  riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000), 0xfffffff0) }) },
        { "partial last frame",   riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (1000), 4003) }) },
        // 12 bits in 16-bit containers, left-justified: the same samples.
        { "12-bit samples",       riff ({ fmt (1, 2, 44100, 4, 12), chunk ("data", pcm16 (1000)) }) },
        { "extensible pcm",       riff ({ chunk ("fmt ", Bytes().le16 (0xfffe).le16 (2).le32 (44100).le32 (176400).le16 (4).le16 (16)
                                                            .le16 (22).le16 (16).le32 (3)
                                                            .raw ({ 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71 }).get()),
                                          chunk ("data", pcm16 (1000)) }) },
    };

    for (auto& [name, bytes] : cases)
    {
        SCOPED_TRACE (name);
        juce::MemoryBlock converted;
        ASSERT_NO_THROW (converted = convert (bytes));
        EXPECT_EQ (converted, clean);
    }

    // A data size beyond the file is cut to the whole frames that are there.
    const auto cut = riff ({ fmt (1, 2, 44100, 4, 16), chunk ("data", pcm16 (250), 4000) });
    EXPECT_EQ (convert (juce::MemoryBlock (cut.getData(), cut.getSize() - 2)).getSize(), 44u + 249u * 4u);
}

TEST_F (MalformedFixture, AiffHeaders)
{
    const auto data = pcm16 (1000, true);
    const auto clean = convert (aiff (2, 1000, 16, rate44100, data), ".aiff");
    ASSERT_EQ (clean.getSize(), 44u + 4000u);

    const std::pair<const char*, juce::MemoryBlock> invalid[] = {
        { "no channels",      aiff (0, 1000, 16, rate44100, data) },
        { "no bits",          aiff (2, 1000, 0, rate44100, data) },
        { "40 bits",          aiff (2, 1000, 40, rate44100, data) },
        { "rate exponent",    aiff (2, 1000, 16, { 0x7f, 0xff, 0xac, 0x44, 0, 0, 0, 0, 0, 0 }, data) },
        { "rate below 1 Hz",  aiff (2, 1000, 16, { 0x3f, 0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0 }, data) },
        { "mu-law",           aiff (2, 1000, 16, rate44100, data, "ulaw") },
        { "16-bit float",     aiff (2, 1000, 16, rate44100, data, "fl32") },
    };

    for (auto& [name, bytes] : invalid)
        EXPECT_TRUE (isInvalid (bytes, ".aiff")) << name;

    Bytes markers;
    markers.id ("MARK").be32 (4).be16 (0xffff).be16 (0);
    Bytes instrument;
    instrument.id ("INST").be32 (0xfffffff0);

    const std::pair<const char*, juce::MemoryBlock> same[] = {
        { "frames beyond the data", aiff (2, 0x7fffffff, 16, rate44100, data) },
        { "12-bit samples",         aiff (2, 1000, 12, rate44100, data) },
        { "markers cut short",      aiff (2, 1000, 16, rate44100, data, nullptr, markers.get()) },
    };

    for (auto& [name, bytes] : same)
    {
        SCOPED_TRACE (name);
        juce::MemoryBlock converted;
        ASSERT_NO_THROW (converted = convert (bytes, ".aiff"));
        EXPECT_EQ (converted, clean);
    }

    // An instrument chunk claiming 4 GiB ends the walk without the sound data: nothing to read.
    EXPECT_TRUE (isInvalid (aiff (2, 1000, 16, rate44100, data, nullptr, instrument.get()), ".aiff"));

    // Little-endian AIFF-C samples are the same sound.
    EXPECT_EQ (convert (aiff (2, 1000, 16, rate44100, pcm16 (1000, false), "sowt"), ".aiff"), clean);
}

TEST_F (MalformedFixture, CompressedLengthBeyondWhatTheFileHoldsIsInvalid)
{
    auto bytes = flacBytes (1000);
    ASSERT_GT (bytes.getSize(), 0u);
    ASSERT_EQ (convert (bytes, ".flac").getSize(), 44u + 4000u);

    // STREAMINFO's 36-bit total sample count, the low bits of the 64 bits at offset 18.
    auto* p = static_cast<juce::uint8*> (bytes.getData()) + 18;
    p[3] |= 0x0f;
    p[4] = p[5] = p[6] = p[7] = 0xff;
    EXPECT_TRUE (isInvalid (bytes, ".flac"));
}

TEST_F (MalformedFixture, ChainedOggStreamsMustKeepTheirLayout)
{
    const auto write = [&] (int channels)
    {
        const auto file = folder.getFile().getNonexistentChildFile ("link", ".ogg");
        juce::OggVorbisAudioFormat ogg;
        auto stream = file.createOutputStream();
        std::unique_ptr<juce::AudioFormatWriter> writer (ogg.createWriterFor (stream.get(), 44100.0, (unsigned int) channels, 16, {}, 5));
        EXPECT_NE (writer, nullptr);
        stream.release();
        writer->writeFromAudioSampleBuffer (makeBuffer (channels, 20000), 0, 20000);
        writer.reset();
        return readBytes (file);
    };

    const auto stereo = write (2), mono = write (1), stereoAgain = write (2);

    // A later link with fewer channels made the framework's reader read past
    // the decoder's channels; links of one layout play one after the other.
    auto mixed = stereo;
    mixed.append (mono.getData(), mono.getSize());
    EXPECT_TRUE (isInvalid (mixed, ".ogg"));

    auto alike = stereo;
    alike.append (stereoAgain.getData(), stereoAgain.getSize());
    EXPECT_EQ (convert (alike, ".ogg").getSize(), 44u + 40000u * 4u);
}

TEST_F (MalformedFixture, TruncatedFlacEndsWhereItsAudioEnds)
{
    const int frames = 40000;
    const auto whole = flacBytes (frames);
    ASSERT_GT (whole.getSize(), 0u);
    ASSERT_EQ (convert (whole, ".flac").getSize(), 44u + (size_t) frames * 4u);

    // Half the file: the header still claims every frame, but only the frames
    // that decode are converted, with no silence standing in for the rest.
    juce::MemoryBlock half (whole.getData(), whole.getSize() / 2);
    const auto out = convert (half, ".flac");
    const auto outFrames = (int) (out.getSize() - 44) / 4;
    EXPECT_GT (outFrames, 0);
    EXPECT_LT (outFrames, frames);

    const auto* last = static_cast<const juce::int16*> (out.getData()) + 22 + (outFrames - 1) * 2;
    EXPECT_TRUE (last[0] != 0 || last[1] != 0 || last[-2] != 0 || last[-1] != 0);

    // Only the stream's header: nothing decodes at all.
    EXPECT_TRUE (isInvalid (juce::MemoryBlock (whole.getData(), 60), ".flac"));
}
