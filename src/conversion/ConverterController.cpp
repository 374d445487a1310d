#include "conversion/ConverterController.h"

#include "app/MessageType.h"

ConverterController::ConverterController (FileQueue& queue, juce::TextEditor& list,
                                          double& progress, juce::ActionBroadcaster& actionBroadcaster)
    : juce::Thread ("File Convert Thread"),
      fileQueue (&queue),
      convertedFilesList (&list),
      batchProgress (&progress),
      broadcaster (&actionBroadcaster),
      completeWindow ("Conversion Complete", "File conversion Complete", juce::MessageBoxIconType::NoIcon),
      fileExistsWindow ("File Exists", " ", juce::MessageBoxIconType::NoIcon),
      errorWindow ("Error Writing File", {}, juce::MessageBoxIconType::NoIcon),
      folderChooser (std::make_shared<juce::FileChooser> ("Choose Output Folder ",
                                                          juce::File::getSpecialLocation (juce::File::userHomeDirectory),
                                                          juce::String(), true)),
      applyToAllToggle (std::make_unique<juce::ToggleButton>())
{
    fileConverter.addListener (this);
    broadcaster->addActionListener (&fileConverter);

    applyToAllToggle->setSize (150, 15);
    applyToAllToggle->addListener (this);
    applyToAllToggle->setButtonText ("Apply to All");

    fileExistsWindow.addButton ("Overwrite", 1);
    fileExistsWindow.addButton ("Skip", 0);
    existingFileLabel.setSize (350, 60);
    fileExistsWindow.addCustomComponent (&existingFileLabel);
    fileExistsWindow.addCustomComponent (applyToAllToggle.get());
    fileExistsWindow.setLookAndFeel (&look);
    completeWindow.setLookAndFeel (&look);
    completeWindow.addButton ("OK", 1);
    errorWindow.setLookAndFeel (&look);
    errorWindow.addButton ("Continue", 0);
    errorLabel.setSize (350, 60);
    errorWindow.addCustomComponent (&errorLabel);

    folderChoice = [chooser = folderChooser]
    {
        return chooseOutputFolder (*chooser) ? chooser->getResult() : juce::File();
    };

    setProgress (0.0);
}

ConverterController::~ConverterController()
{
    fileExistsPending = false;
    errorPending = false;
    completionPending = false;
    signalThreadShouldExit();

    // Also here, so that a conversion in progress stops after its current block
    // even when prepareForShutdown was not called.
    fileConverter.shouldAbort = true;

    setProgress (0.0);
    broadcaster->removeAllActionListeners();
    fileQueue->removeAllListeners();
    stopTimer();
    stopThread (-1);

    // The look is declared after the dialogs and goes first.
    for (auto* window : { &completeWindow, &fileExistsWindow, &errorWindow })
        window->setLookAndFeel (nullptr);
}

void ConverterController::setFolderChoice (FolderChoice choice)
{
    folderChoice = std::move (choice);
}

void ConverterController::actionListenerCallback (const juce::String& message)
{
    if (message == getMessageString (MessageType::convert))
    {
        if (isConverting)
            return;

        isConverting = true;
        startConversion();
    }
    else if (message == getMessageString (MessageType::clearAll))
    {
        fileQueue->clear();
    }
    else if (message == getMessageString (MessageType::conversionComplete))
    {
        isConverting = false;
    }
}

void ConverterController::buttonClicked (juce::Button* button)
{
    if (button == applyToAllToggle.get())
        applyToAll = button->getToggleState();
}

void ConverterController::progressChanged (const double& fileProgress)
{
    // The converter forgets an abort asked for before it started its blocks;
    // repeating it here makes a shutdown take effect after the next block.
    if (threadShouldExit())
        fileConverter.shouldAbort = true;

    if (numFiles > 0)
        setProgress (currentIndex / (double) numFiles + progressShare * fileProgress);
}

void ConverterController::setProgress (double value) noexcept
{
    __atomic_store (batchProgress, &value, __ATOMIC_RELAXED);
}

void ConverterController::sendConversionComplete()
{
    broadcaster->sendActionMessage (getMessageString (MessageType::conversionComplete));
}

void ConverterController::resetApplyToAll()
{
    applyToAllToggle->setToggleState (false, juce::sendNotification);
    applyToAll = false;
}

bool ConverterController::chooseOutputFolder (juce::FileChooser& chooser)
{
    return chooser.showDialog (juce::FileBrowserComponent::openMode
                                   | juce::FileBrowserComponent::canSelectDirectories,
                               nullptr);
}

void ConverterController::startConversion()
{
    fileExistsPending = false;
    errorPending = false;
    completionPending = false;
    outputFolder = {};
    {
        const juce::ScopedLock sl (convertedFilesLock);
        convertedFiles = {};
    }
    errorMessage = {};
    existingFilePath = {};
    fileExistsChoice = 1;

    batchEntries = fileQueue->getEntries();
    setProgress (0.0);
    numFiles = batchEntries.size();

    if (numFiles == 0)
    {
        sendConversionComplete();
        return;
    }

    // A copy of the choice (and with it the chooser) stays alive should the
    // controller be deleted while the chooser is up.
    const juce::WeakReference<ConverterController> self (this);
    const auto choice = folderChoice;
    choosingFolder = true;
    const auto folder = choice != nullptr ? choice() : juce::File();

    if (self == nullptr)
        return;

    choosingFolder = false;

    if (listUpdatesStopped)
        return;   // shut down while choosing: no batch, no message

    if (folder == juce::File())
    {
        sendConversionComplete();
        return;
    }

    outputFolder = folder.getFullPathName();

    // The batch handles numFiles entries, so each has that share even if the
    // queue changed while the folder chooser was up.
    progressShare = 1.0 / numFiles;

    // The toggle is a component: switched off here, on the message thread,
    // before the worker can ask anything.
    resetApplyToAll();

    // The previous batch's worker may still be returning from its last wait.
    if (isThreadRunning())
        waitForThreadToExit (-1);

    startTimer (1);

    if (! startThread (juce::Thread::Priority::highest))
    {
        stopTimer();
        sendConversionComplete();
    }
}

void ConverterController::run()
{
    convertQueue();
}

bool ConverterController::requestAndWait (std::atomic<bool>& request)
{
    request = true;
    startTimer (1);

    while (request && ! threadShouldExit())
        wait (-1);

    return ! threadShouldExit();
}

void ConverterController::convertQueue()
{
    // resetApplyToAll and the emptying of convertedFiles were done by
    // startConversion on the message thread.

    for (int i = 0; i < numFiles; ++i)
    {
        if (threadShouldExit())
            return;

        currentIndex = i;
        const auto entry = fileQueue->takeFirst();

        if (entry.inputPath.isEmpty())
            break;   // the queue was emptied during the batch

        const auto outputName = entry.outputName + ".wav";
        const juce::File input (entry.inputPath);
        const auto outputPath = outputFolder + "/" + outputName;
        const juce::File output (outputPath);
        const bool outputExists = output.exists();

        if (outputExists && ! applyToAll)
        {
            existingFilePath = outputPath;

            if (! requestAndWait (fileExistsPending))
                return;
        }

        if (threadShouldExit())
            return;

        if (outputExists && fileExistsChoice == 0)
        {
            fileQueue->addEntry (entry);

            if (threadShouldExit())
                return;

            setProgress ((i + 1) / (double) numFiles);
        }
        else if (! convertEntry (input, output))
        {
            return;
        }

        if (threadShouldExit())
            return;

        startTimer (1);
    }

    setProgress (1.0);

    if (! requestAndWait (completionPending))
        return;

    stopTimer();
}

bool ConverterController::convertEntry (const juce::File& input, const juce::File& output)
{
    juce::String message;

    try
    {
        fileConverter.convertFile (input, output);

        if (threadShouldExit())
            return false;

        // An "Abort" makes the converter return without a file: nothing to list.
        if (! fileConverter.shouldAbort)
        {
            const juce::ScopedLock sl (convertedFilesLock);
            convertedFiles << output.getFileName() << "\n";
        }

        return true;
    }
    catch (const InputFileInvalid&)
    {
        message = "Error: " + input.getFullPathName() + "\ncan not be opened";
    }
    catch (const FileWriteException&)
    {
        message = "Error writing to: " + output.getFullPathName();
    }
    catch (const NewSampleTooLarge& e)
    {
        message = e.what();
    }
    catch (const std::bad_alloc&)
    {
        // A sample too long to be held in memory.
        message = NewSampleTooLarge().what();
    }
    catch (...)
    {
        message = "Error: " + input.getFullPathName() + "\ncould not be converted";
    }

    errorMessage = message;
    return requestAndWait (errorPending);
}

void ConverterController::timerCallback()
{
    stopTimer();

    // The worker raises a flag before it starts the timer, so a callback may
    // already be serving that request in a modal loop further down this stack
    // when the worker's own start lands here: serving it again would show the
    // dialog twice and wake the worker twice.
    if (servingRequests)
        return;

    servingRequests = true;

    // A dialog raised right after a file was converted comes up with that
    // file already listed, the completion message above the whole batch.
    refreshConvertedFilesList();

    if (fileExistsPending)
    {
        if (! showFileExistsDialog())
            return;

        fileExistsPending = false;
        notify();
    }

    if (errorPending)
    {
        if (! showErrorDialog())
            return;

        errorPending = false;
        notify();
    }

    if (completionPending)
    {
        setProgress (1.0);

        if (! showCompletionDialog())
            return;

        completionPending = false;

        // Taken down by a shutdown: the batch did not complete.
        if (! listUpdatesStopped)
        {
            setProgress (0.0);
            currentIndex = 0;
            progressShare = 0.0;
            sendConversionComplete();
        }

        notify();
    }

    servingRequests = false;
    refreshConvertedFilesList();
}

void ConverterController::refreshConvertedFilesList()
{
    if (listUpdatesStopped)
        return;

    juce::String text;
    {
        const juce::ScopedLock sl (convertedFilesLock);
        text = convertedFiles;
    }

    convertedFilesList->setText (text, true);
    // the caret just before the last newline, so that the list shows its end
    convertedFilesList->setCaretPosition (convertedFilesList->getTotalNumChars() - 1);
}

bool ConverterController::showDialog (juce::AlertWindow& window, int& result)
{
    const juce::WeakReference<ConverterController> self (this);

    window.addToDesktop();
    result = window.runModalLoop();

    if (self == nullptr)
        return false;

    window.removeFromDesktop();
    return true;
}

void ConverterController::fitLabelToText (juce::Label& label, juce::AlertWindow& window)
{
    // A long path wraps onto more lines than the label's standard 60 pixels
    // hold, which would cut off its start and the end of the message.
    constexpr int standardHeight = 60;
    auto& lf = label.getLookAndFeel();
    const auto font = lf.getLabelFont (label);
    const auto border = lf.getLabelBorderSize (label);

    juce::GlyphArrangement glyphs;
    glyphs.addJustifiedText (font, label.getText(), 0.0f, 0.0f,
                             (float) (label.getWidth() - border.getLeftAndRight()), juce::Justification::left);

    const auto textHeight = glyphs.getBoundingBox (0, -1, true).getHeight();
    // One line to spare, since the label breaks its lines where it fits them.
    const auto needed = (int) std::ceil (textHeight + font.getHeight()) + border.getTopAndBottom();

    label.setSize (label.getWidth(), juce::jmax (standardHeight, needed));
    window.sendLookAndFeelChange();   // the dialog lays itself out again
}

bool ConverterController::showFileExistsDialog()
{
    existingFileLabel.setText (existingFilePath, juce::dontSendNotification);
    fitLabelToText (existingFileLabel, fileExistsWindow);

    int result = 0;

    if (! showDialog (fileExistsWindow, result))
        return false;

    fileExistsChoice = result;
    return true;
}

bool ConverterController::showErrorDialog()
{
    errorLabel.setText (errorMessage, juce::dontSendNotification);
    fitLabelToText (errorLabel, errorWindow);

    int result = 0;
    return showDialog (errorWindow, result);
}

bool ConverterController::showCompletionDialog()
{
    int result = 0;
    return showDialog (completeWindow, result);
}

void ConverterController::prepareForShutdown()
{
    listUpdatesStopped = true;
    fileConverter.shouldAbort = true;
    signalThreadShouldExit();

    // A dialog that is up ends its modal loop (as if dismissed) and leaves the screen.
    for (auto* window : { &fileExistsWindow, &errorWindow, &completeWindow })
    {
        if (window->isCurrentlyModal (false))
            window->exitModalState (0);

        window->removeFromDesktop();
    }

    // The framework's own folder browser, if it is up, is cancelled too.
    if (choosingFolder)
        if (auto* modal = juce::ModalComponentManager::getInstance()->getModalComponent (0))
            if (dynamic_cast<juce::FileChooserDialogBox*> (modal) != nullptr)
                modal->exitModalState (0);

    fileExistsPending = false;
    errorPending = false;
    completionPending = false;
}
