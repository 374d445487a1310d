// Feeds arbitrary bytes through the converter's reading path: the same five
// registered formats, the same checks, and a whole conversion of what opens.
#include <juce_audio_formats/juce_audio_formats.h>
#include <unistd.h>

#include "conversion/FileConverter.h"
#include "conversion/InputFormats.h"

namespace
{
    // Inputs whose conversion would need more than this are opened and
    // checked but not converted, to keep each run small.
    constexpr juce::int64 maxConvertedSamples = 1 << 22;

    const juce::File& scratchFolder()
    {
        static const juce::File folder = []
        {
            auto f = juce::File::getSpecialLocation (juce::File::tempDirectory)
                         .getChildFile ("orvo-fuzz-" + juce::String (getpid()));
            f.createDirectory();
            return f;
        }();

        return folder;
    }

    bool isSmallEnough (const juce::MemoryBlock& bytes)
    {
        juce::AudioFormatManager manager;
        InputFormats::registerFormats (manager);
        std::unique_ptr<juce::AudioFormatReader> reader (
            manager.createReaderFor (std::make_unique<juce::MemoryInputStream> (bytes, false)));

        if (reader == nullptr || reader->sampleRate < 1.0)
            return reader == nullptr;

        const auto converted = (double) reader->lengthInSamples * 44100.0 / reader->sampleRate;
        return converted * reader->numChannels <= (double) maxConvertedSamples;
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const juce::MemoryBlock bytes (data, size);

    if (! isSmallEnough (bytes))
        return 0;

    const auto input = scratchFolder().getChildFile ("input");
    const auto output = scratchFolder().getChildFile ("OUTPUT.wav");
    input.replaceWithData (data, size);

    FileConverter converter;

    try
    {
        converter.convertFile (input, output);
    }
    catch (const InputFileInvalid&) {}
    catch (const NewSampleTooLarge&) {}

    output.deleteFile();
    return 0;
}
