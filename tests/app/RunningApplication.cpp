#include "RunningApplication.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include "filelist/DragDropArea.h"
#include "filelist/FileQueue.h"
#include "mainscreen/MainWindowComponent.h"
#include "support/MessageLoop.h"

#include <cstdlib>

RunningApplication::RunningApplication()
{
    oldHome = juce::SystemStats::getEnvironmentVariable ("HOME", {});
    setenv ("HOME", homeFolder.getFile().getFullPathName().toRawUTF8(), 1);

    app = std::make_unique<OrvoFileConversionUtilityApplication>();
    app->initialise ({});
}

RunningApplication::~RunningApplication()
{
    shutdown();
    app.reset();
    setenv ("HOME", oldHome.toRawUTF8(), 1);
}

void RunningApplication::shutdown()
{
    if (! isShutDown)
        app->shutdown();

    isShutDown = true;
}

MainWindow* RunningApplication::window()          { return app->getMainWindow(); }
MainWindowComponent& RunningApplication::content() { return *window()->getContent(); }
DragDrop& RunningApplication::table()              { return content().getDropArea().getTable(); }
FileQueue& RunningApplication::queue()             { return *app->getFileQueue(); }

bool RunningApplication::waitForWindow()
{
    const bool shown = MessageLoop::runUntil ([this]
    {
        auto* w = window();
        return w != nullptr && w->isShowing() && w->getPeer() != nullptr;
    }, 10000);

    MessageLoop::runFor (700);   // framing, mapping and the first paint
    return shown;
}

juce::File RunningApplication::makeAudioFile (const juce::File& file, double seconds, double sampleRate, int channels)
{
    std::unique_ptr<juce::AudioFormat> format;

    if (file.hasFileExtension ("aiff;aif"))
        format = std::make_unique<juce::AiffAudioFormat>();
    else
        format = std::make_unique<juce::WavAudioFormat>();

    file.getParentDirectory().createDirectory();
    file.deleteFile();

    const auto numSamples = (int) (seconds * sampleRate);
    juce::AudioBuffer<float> buffer (channels, numSamples);

    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (c, i, 0.5f * (float) std::sin (2.0 * juce::MathConstants<double>::pi * 440.0 * (c + 1) * i / sampleRate));

    std::unique_ptr<juce::OutputStream> stream (file.createOutputStream());
    std::unique_ptr<juce::AudioFormatWriter> writer (format->createWriterFor (stream.get(), sampleRate, (unsigned int) channels, 16, {}, 0));

    if (writer == nullptr)
        return {};

    stream.release();   // the writer owns it now
    writer->writeFromAudioSampleBuffer (buffer, 0, numSamples);
    return file;
}

juce::File RunningApplication::artefactFolder()
{
    const auto data = juce::SystemStats::getEnvironmentVariable ("ORVO_TEST_DATA", {});
    auto folder = data.isNotEmpty() ? juce::File (data).getChildFile ("screenshots")
                                    : juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("orvo-screenshots");
    folder.createDirectory();
    return folder;
}
