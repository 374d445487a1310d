#pragma once

#include <atomic>
#include "conversion/FileConverter.h"
#include "filelist/FileQueue.h"

/** The orvo-convert command: queues its paths as a drop does and converts
    them with the sample converter, reporting on the terminal.

    Exit statuses: 0 when every file was converted or skipped, 1 when any
    failed, 2 for a usage error, 130 when interrupted.
*/
class ConvertCommand : private FileConverter::ProgressListener
{
public:
    enum ExitStatus { success = 0, failure = 1, usageError = 2, interrupted = 130 };

    ConvertCommand();
    ~ConvertCommand() override;

    int run (const juce::StringArray& arguments);

    /** Asks the conversion in progress to stop; safe to call from a signal handler. */
    void interrupt() noexcept;

    static juce::String getUsage();

private:
    enum class ExistingPolicy { ask, overwrite, skip };

    bool parseArguments (const juce::StringArray& arguments);
    int dryRun();
    int convertAll();
    bool shouldWrite (const juce::File& output);

    void progressChanged (const double& progress) override;
    void report (const juce::String& line);
    void drawProgressBar();
    void clearProgressBar();

    juce::File outputFolder;
    juce::StringArray paths;
    ExistingPolicy policy = ExistingPolicy::ask;
    bool dryRunOnly = false, showHelp = false;
    juce::String usageProblem;

    FileQueue queue;
    FileConverter converter;
    std::atomic<bool> interruptRequested { false };

    bool progressOnTerminal = false, barShown = false;
    int fileIndex = 0, numFiles = 0, lastPermille = -1;
    double fileProgress = 0.0;
    juce::String currentName;

    JUCE_DECLARE_NON_COPYABLE (ConvertCommand)
};
