#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "BinaryData.h"

// The compiled-in bytes are checked as files, so that a remade picture in
// another pixel format or container layout is caught before anything draws it.
namespace
{
    uint32_t bigEndian32 (const uint8_t* p)    { return (uint32_t) p[0] << 24 | (uint32_t) p[1] << 16 | (uint32_t) p[2] << 8 | p[3]; }
    uint32_t littleEndian32 (const uint8_t* p) { return (uint32_t) p[3] << 24 | (uint32_t) p[2] << 16 | (uint32_t) p[1] << 8 | p[0]; }
    uint16_t littleEndian16 (const uint8_t* p) { return (uint16_t) (p[1] << 8 | p[0]); }

    // Length of the icns PackBits run data once unpacked, or -1 if a run overreaches.
    long unpackedLength (const uint8_t* p, uint32_t length)
    {
        long out = 0;

        for (uint32_t i = 0; i < length;)
        {
            const auto control = p[i];

            if (control < 128)
            {
                if (i + 1u + control + 1u > length)
                    return -1;
                out += control + 1;
                i += control + 2u;
            }
            else
            {
                if (i + 2u > length)
                    return -1;
                out += control - 125;
                i += 2;
            }
        }

        return out;
    }

    struct PngCase
    {
        const char* name;
        const void* data;
        int size;
        int width, height;
    };

    const PngCase pngCases[] = {
        { "Orvo_Icon_png",                     BinaryData::Orvo_Icon_png,                     BinaryData::Orvo_Icon_pngSize,                     1024, 1024 },
        { "Orvo_About_png",                    BinaryData::Orvo_About_png,                    BinaryData::Orvo_About_pngSize,                    420, 255 },
        { "Orvo_Background_png",               BinaryData::Orvo_Background_png,               BinaryData::Orvo_Background_pngSize,               420, 700 },
        { "Orvo_ConvertButton_Hover_png",      BinaryData::Orvo_ConvertButton_Hover_png,      BinaryData::Orvo_ConvertButton_Hover_pngSize,      117, 38 },
        { "Orvo_ConvertButton_Off_png",        BinaryData::Orvo_ConvertButton_Off_png,        BinaryData::Orvo_ConvertButton_Off_pngSize,        117, 38 },
        { "Orvo_ConvertButton_Pressed_png",    BinaryData::Orvo_ConvertButton_Pressed_png,    BinaryData::Orvo_ConvertButton_Pressed_pngSize,    117, 38 },
        { "Orvo_ConvertedFilesBackground_png", BinaryData::Orvo_ConvertedFilesBackground_png, BinaryData::Orvo_ConvertedFilesBackground_pngSize, 383, 169 },
        { "Orvo_DropSampleBackground_png",     BinaryData::Orvo_DropSampleBackground_png,     BinaryData::Orvo_DropSampleBackground_pngSize,     389, 258 },
        { "Orvo_Xbutton_png",                  BinaryData::Orvo_Xbutton_png,                  BinaryData::Orvo_Xbutton_pngSize,                  13, 13 },
    };
}

TEST (Resources, EveryPngIsEightBitRgbaNotInterlacedAtItsSize)
{
    static const uint8_t signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

    for (const auto& c : pngCases)
    {
        SCOPED_TRACE (c.name);
        ASSERT_GT (c.size, 33);
        auto* p = static_cast<const uint8_t*> (c.data);

        EXPECT_EQ (0, std::memcmp (p, signature, sizeof (signature)));
        EXPECT_EQ (13u, bigEndian32 (p + 8));
        EXPECT_EQ (0, std::memcmp (p + 12, "IHDR", 4));
        EXPECT_EQ ((uint32_t) c.width, bigEndian32 (p + 16));
        EXPECT_EQ ((uint32_t) c.height, bigEndian32 (p + 20));
        EXPECT_EQ (8, p[24]);   // bit depth
        EXPECT_EQ (6, p[25]);   // colour type: RGB with alpha
        EXPECT_EQ (0, p[28]);   // interlace method: none

        // The framework's decoder, through its cache, as the program loads them.
        auto image = juce::ImageCache::getFromMemory (c.data, c.size);
        EXPECT_EQ (c.width, image.getWidth());
        EXPECT_EQ (c.height, image.getHeight());
    }
}

TEST (Resources, IcoHoldsSixUncompressedThirtyTwoBitBitmapsLargestFirst)
{
    auto* p = reinterpret_cast<const uint8_t*> (BinaryData::Orvo_ico);
    const int total = BinaryData::Orvo_icoSize;
    ASSERT_GT (total, 6);

    EXPECT_EQ (0, littleEndian16 (p));
    EXPECT_EQ (1, littleEndian16 (p + 2));   // icon, not cursor
    ASSERT_EQ (6, littleEndian16 (p + 4));

    const int sizes[] = { 256, 128, 64, 48, 32, 16 };
    const uint32_t bytes[] = { 270376, 67624, 16936, 9640, 4264, 1128 };

    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE (sizes[i]);
        auto* entry = p + 6 + 16 * i;
        EXPECT_EQ (sizes[i] % 256, entry[0]);
        EXPECT_EQ (sizes[i] % 256, entry[1]);
        EXPECT_EQ (32, littleEndian16 (entry + 6));
        EXPECT_EQ (bytes[i], littleEndian32 (entry + 8));

        const auto offset = littleEndian32 (entry + 12);
        ASSERT_LE (offset + bytes[i], (uint32_t) total);

        // A BITMAPINFOHEADER (a PNG entry would start with its signature), at
        // twice the height for the mask, uncompressed.
        auto* dib = p + offset;
        EXPECT_EQ (40u, littleEndian32 (dib));
        EXPECT_EQ ((uint32_t) sizes[i], littleEndian32 (dib + 4));
        EXPECT_EQ ((uint32_t) sizes[i] * 2, littleEndian32 (dib + 8));
        EXPECT_EQ (32, littleEndian16 (dib + 14));
        EXPECT_EQ (0u, littleEndian32 (dib + 16));
    }
}

TEST (Resources, IcnsElementsComeInOrderWithJpeg2000AtTheTwoLargestSizes)
{
    auto* p = reinterpret_cast<const uint8_t*> (BinaryData::Orvo_icns);
    const auto total = (uint32_t) BinaryData::Orvo_icnsSize;
    ASSERT_GT (total, 8u);
    EXPECT_EQ (0, std::memcmp (p, "icns", 4));
    EXPECT_EQ (total, bigEndian32 (p + 4));

    juce::StringArray types;
    uint32_t pos = 8;

    while (pos + 8 <= total)
    {
        const auto length = bigEndian32 (p + pos + 4);
        ASSERT_GE (length, 8u);
        ASSERT_LE (pos + length, total);
        const juce::String type (reinterpret_cast<const char*> (p + pos), 4);
        types.add (type);

        if (type == "ic08" || type == "ic09")
        {
            // The JP2 file signature box.
            static const uint8_t jp2[] = { 0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0d, 0x0a, 0x87, 0x0a };
            ASSERT_GE (length, 8u + sizeof (jp2));
            EXPECT_EQ (0, std::memcmp (p + pos + 8, jp2, sizeof (jp2))) << type;
        }

        const std::map<juce::String, uint32_t> maskBytes { { "s8mk", 16 * 16 }, { "l8mk", 32 * 32 },
                                                           { "h8mk", 48 * 48 }, { "t8mk", 128 * 128 } };
        if (auto it = maskBytes.find (type); it != maskBytes.end())
            EXPECT_EQ (it->second + 8, length) << type;

        // Colour elements: three PackBits channels, the largest after four zero bytes.
        const std::map<juce::String, long> rgbPixels { { "is32", 16 * 16 }, { "il32", 32 * 32 },
                                                       { "ih32", 48 * 48 }, { "it32", 128 * 128 } };
        if (auto it = rgbPixels.find (type); it != rgbPixels.end())
        {
            const uint32_t skip = type == "it32" ? 4 : 0;
            EXPECT_EQ (3 * it->second, unpackedLength (p + pos + 8 + skip, length - 8 - skip)) << type;
        }

        pos += length;
    }

    EXPECT_EQ (total, pos);
    EXPECT_EQ (juce::String ("is32 s8mk il32 l8mk ih32 h8mk it32 t8mk ic08 ic09"), types.joinIntoString (" "));
}

TEST (Resources, NamedResourceListHoldsTheElevenNamesInOrder)
{
    const juce::StringArray expected { "Orvo_Icon_png", "Orvo_About_png", "Orvo_Background_png",
                                       "Orvo_ConvertButton_Hover_png", "Orvo_ConvertButton_Off_png",
                                       "Orvo_ConvertButton_Pressed_png", "Orvo_ConvertedFilesBackground_png",
                                       "Orvo_DropSampleBackground_png", "Orvo_Xbutton_png", "Orvo_icns", "Orvo_ico" };

    ASSERT_EQ (expected.size(), BinaryData::namedResourceListSize);
    juce::StringArray names;

    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
        names.add (BinaryData::namedResourceList[i]);

    EXPECT_EQ (expected, names);
}
