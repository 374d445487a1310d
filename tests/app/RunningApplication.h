#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "app/OrvoFileConversionUtilityApplication.h"
#include "support/TemporaryFolder.h"

class FileQueue;
class MainWindowComponent;
class DragDrop;

/** The application object started in the test process on the desktop, with
    a home folder of its own, and input audio files made on demand. */
class RunningApplication
{
public:
    RunningApplication();
    ~RunningApplication();

    OrvoFileConversionUtilityApplication& get() noexcept  { return *app; }
    MainWindow* window();
    MainWindowComponent& content();
    DragDrop& table();
    FileQueue& queue();

    /** The application's shutdown, as the framework runs it after the message
        loop; the destructor does it if the test has not. */
    void shutdown();

    /** Waits until the main window shows on the screen and the window manager
        has framed it. */
    bool waitForWindow();

    /** Writes a sine tone in the format of the file's extension (.wav or .aiff). */
    static juce::File makeAudioFile (const juce::File& file, double seconds, double sampleRate, int channels);

    /** Where the test keeps its screenshots. */
    static juce::File artefactFolder();

    const juce::File& home() const noexcept { return homeFolder.getFile(); }

private:
    TemporaryFolder homeFolder { "orvo-home" };
    juce::String oldHome;
    std::unique_ptr<OrvoFileConversionUtilityApplication> app;
    bool isShutDown = false;
};
