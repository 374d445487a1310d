#pragma once

#include <atomic>
#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_events/juce_events.h>

#include "FileWriteException.h"
#include "InputFileInvalid.h"
#include "NewSampleTooLarge.h"

/** Converts one input audio file into the player's format: a 44100 Hz,
    16-bit PCM WAV file with the input's channel count.

    convertFile runs on the caller's thread (the conversion worker); the
    message "Abort" on the application's broadcaster stops it after the
    current block.
*/
class FileConverter : public juce::ActionListener
{
public:
    class ProgressListener
    {
    public:
        virtual ~ProgressListener() = 0;

        /** The converter's progress, 0.0 to 1.0, after it changed. */
        virtual void progressChanged (const double& progress) = 0;
    };

    FileConverter() = default;
    ~FileConverter() override = default;

    void actionListenerCallback (const juce::String& message) override;

    /** Converts input into output; throws InputFileInvalid, NewSampleTooLarge
        or FileWriteException. Returns without a complete file when aborted. */
    void convertFile (const juce::File& input, const juce::File& output);

    void addListener (ProgressListener* listener);

    std::atomic<bool> shouldAbort { false };

private:
    std::unique_ptr<juce::AudioSampleBuffer> resampleToBuffer (juce::PositionableAudioSource& source,
                                                               int inputRate, int outputRate, int numChannels);
    void writeWavFile (const juce::AudioSampleBuffer& buffer, const juce::File& output,
                       int sampleRate, int numChannels, int bitsPerSample);
    void notifyListeners();

    double progress = 0.0;
    juce::Array<ProgressListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileConverter)
};
