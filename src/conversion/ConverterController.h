#pragma once

#include <atomic>
#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

#include "conversion/FileConverter.h"
#include "filelist/FileQueue.h"
#include "mainscreen/CustomLook.h"

/** Runs a batch: on "Convert" it asks for an output folder and converts every
    queued file, in queue order, on its "File Convert Thread" worker. It asks
    before replacing an existing output, reports each failure in a dialog, keeps
    the batch progress value and the converted-files list up to date, and ends
    each batch with a completion dialog and "Conversion Complete". "Clear All"
    empties the queue.

    The worker never touches a component or a dialog: it raises a request flag,
    starts the 1 ms timer and waits on the thread's event; the timer callback
    serves the request on the message thread and wakes it.
*/
class ConverterController : public juce::ActionListener,
                            public juce::Button::Listener,
                            public FileConverter::ProgressListener,
                            public juce::Thread,
                            public juce::Timer
{
public:
    ConverterController (FileQueue& fileQueue, juce::TextEditor& convertedFilesList,
                         double& progress, juce::ActionBroadcaster& broadcaster);
    ~ConverterController() override;

    void actionListenerCallback (const juce::String& message) override;
    void buttonClicked (juce::Button* button) override;
    void progressChanged (const double& fileProgress) override;
    void run() override;
    void timerCallback() override;

    /** Stops list updates and the worker (after the converter's current block)
        and takes any dialog off the screen; called just before deletion. */
    void prepareForShutdown();

    /** Asks for the output folder; returns it, or a File() when cancelled.
        The default shows the folder chooser; tests supply their own. */
    using FolderChoice = std::function<juce::File()>;
    void setFolderChoice (FolderChoice choice);

    /** True from "Convert" until "Conversion Complete"; message thread only. */
    bool isConverting = false;

private:
    void startConversion();
    void convertQueue();
    static bool chooseOutputFolder (juce::FileChooser& chooser);
    void sendConversionComplete();
    void resetApplyToAll();

    /** Raises a request and waits until the message thread served it or the
        thread is told to exit; false when it should exit. */
    bool requestAndWait (std::atomic<bool>& request);

    /** Converts one file; returns false when the thread should exit. */
    bool convertEntry (const juce::File& input, const juce::File& output);
    void reportError (const juce::String& message);

    /** Shows a dialog modally; false if the controller was deleted meanwhile. */
    bool showDialog (juce::AlertWindow& window, int& result);
    bool showFileExistsDialog();
    bool showErrorDialog();
    bool showCompletionDialog();

    /** Gives a dialog's label the height its text needs and lays the dialog out again. */
    static void fitLabelToText (juce::Label& label, juce::AlertWindow& window);

    /** Puts the converted files so far into the list, unless shutting down. */
    void refreshConvertedFilesList();

    // The progress value is polled by the progress bar on the message thread
    // while the worker writes it, so both sides use atomic accesses.
    void setProgress (double value) noexcept;

    FileQueue* fileQueue;
    juce::TextEditor* convertedFilesList;
    double* batchProgress;
    std::atomic<bool> applyToAll { false };
    int fileExistsChoice = 1;
    juce::ActionBroadcaster* broadcaster;
    double progressShare = 0.0;
    std::atomic<int> currentIndex { 0 };
    int numFiles = 0;
    juce::Array<FileQueueEntry> batchEntries;

    juce::Label errorLabel, existingFileLabel;
    juce::AlertWindow completeWindow, fileExistsWindow, errorWindow;
    // Shared with a choice in progress: the main window may go (and delete the
    // controller) while the chooser's modal loop is still running.
    std::shared_ptr<juce::FileChooser> folderChooser;
    CustomLook look;
    std::unique_ptr<juce::ToggleButton> applyToAllToggle;

    juce::String outputFolder;
    FileConverter fileConverter;

    std::atomic<bool> fileExistsPending { false };
    std::atomic<bool> errorPending { false };
    std::atomic<bool> listUpdatesStopped { false };
    std::atomic<bool> completionPending { false };
    juce::String errorMessage;
    juce::String existingFilePath;

    // Appended to by the worker while the timer callback copies it into the list.
    juce::CriticalSection convertedFilesLock;
    juce::String convertedFiles;

    FolderChoice folderChoice;
    bool choosingFolder = false;
    bool servingRequests = false;   // a timer callback is in one of the dialogs

    // The controller may be deleted from inside one of its own modal loops
    // (the main window going away while a dialog is up).
    JUCE_DECLARE_WEAK_REFERENCEABLE (ConverterController)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConverterController)
};
