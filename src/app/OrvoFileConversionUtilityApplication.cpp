#include "OrvoFileConversionUtilityApplication.h"

#include "ApplicationConstants.h"
#include "CommandIDs.h"
#include "DocumentLauncher.h"
#include "MessageType.h"
#include "conversion/ConverterController.h"
#include "filelist/DragDropArea.h"
#include "filelist/DragDropTableModel.h"
#include "mainscreen/MainWindowComponent.h"

const juce::String OrvoFileConversionUtilityApplication::getApplicationName()    { return applicationName; }
const juce::String OrvoFileConversionUtilityApplication::getApplicationVersion() { return applicationVersion; }
bool OrvoFileConversionUtilityApplication::moreThanOneInstanceAllowed()          { return false; }

void OrvoFileConversionUtilityApplication::initialise (const juce::String&)
{
    commandManager = std::make_unique<juce::ApplicationCommandManager>();
    commandManager->registerAllCommandsForTarget (this);
    progress = 0.0;
    menuModel = std::make_unique<MainMenuModel> (*commandManager);
    createMainWindow();
}

void OrvoFileConversionUtilityApplication::shutdown()
{
    if (auto* window = mainWindow.get())
        delete window;

    fileQueue.reset();

    if (auto* about = aboutWindow.get())
        delete about;

    menuModel.reset();
    commandManager.reset();

    auto& modalManager = *juce::ModalComponentManager::getInstance();

    for (int i = modalManager.getNumModalComponents(); --i >= 0;)
        if (auto* modal = modalManager.getModalComponent (i))
            modal->exitModalState (0);
}

void OrvoFileConversionUtilityApplication::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    commands.addArray ({ convertCommand, aboutCommand, minimizeCommand,
                         bringToFrontCommand, openUserGuideCommand, quitCommand });
}

void OrvoFileConversionUtilityApplication::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    const juce::String category ("General");
    const bool hasMainWindow = mainWindow.get() != nullptr;

    switch (commandID)
    {
        case convertCommand:
            result.setInfo ("Convert", {}, category, 0);
            result.setActive (hasMainWindow);
            break;

        case quitCommand:
            result.setInfo ("Quit", {}, category, 0);
            result.addDefaultKeypress ('q', juce::ModifierKeys::commandModifier);
            break;

        case aboutCommand:
            result.setInfo ("About", {}, category, 0);
            break;

        case minimizeCommand:
            result.setInfo ("Minimize", {}, category, 0);
            result.addDefaultKeypress ('m', juce::ModifierKeys::commandModifier);
            result.setActive (hasMainWindow);
            break;

        case bringToFrontCommand:
            result.setInfo ("Bring to Front", {}, category, 0);
            break;

        case openUserGuideCommand:
            result.setInfo ("Open User Guide", {}, category, 0);
            break;

        default:
            break;
    }
}

bool OrvoFileConversionUtilityApplication::perform (const InvocationInfo& info)
{
    switch (info.commandID)
    {
        case convertCommand:
            actionBroadcaster.sendActionMessage (getMessageString (MessageType::convert));
            break;

        case quitCommand:
            systemRequestedQuit();
            break;

        case aboutCommand:
            showAboutWindow();
            break;

        case minimizeCommand:
            if (auto* window = mainWindow.get())
                window->setMinimised (true);
            break;

        case bringToFrontCommand:
            bringMainWindowToFront();
            break;

        case openUserGuideCommand:
            openUserGuide();
            break;

        default:
            break;
    }

    return true;
}

void OrvoFileConversionUtilityApplication::showAboutWindow()
{
    if (aboutWindow.get() != nullptr)
        return;

    auto* about = new AboutWindow();   // a desktop window that deletes itself when clicked
    aboutWindow = about;
    about->toFront (true);
}

void OrvoFileConversionUtilityApplication::bringMainWindowToFront()
{
    while (mainWindow.get() == nullptr)
        createMainWindow();

    mainWindow->setMinimised (false);
    mainWindow->toFront (true);
}

juce::File OrvoFileConversionUtilityApplication::getUserGuideFile()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory)
               .getChildFile (userGuideFolder + userGuideFileName);
}

void OrvoFileConversionUtilityApplication::openUserGuide()
{
    const auto guide = getUserGuideFile();

    if (guide.exists())
    {
        DocumentLauncher::openDocument (guide);   // a launcher failure is not reported
        return;
    }

    juce::NativeMessageBox::showMessageBox (juce::MessageBoxIconType::NoIcon,
                                            applicationName,
                                            "Unable to find User Guide." + guide.getFullPathName());
}

void OrvoFileConversionUtilityApplication::createMainWindow()
{
    actionBroadcaster.removeAllActionListeners();

    // A rebuild keeps the queue and its entries; only the old drop area goes.
    if (fileQueue != nullptr)
        fileQueue->removeAllListeners();
    else
        fileQueue = std::make_unique<FileQueue>();

    auto model = std::make_unique<DragDropTableModel> (fileQueue.get());
    auto* tableModel = model.get();
    auto dropArea = std::make_unique<DragDropArea> (model.release());   // the table owns its model
    auto convertedFilesList = std::make_unique<juce::TextEditor> (juce::String(), (juce::juce_wchar) 0);
    auto controller = std::make_unique<ConverterController> (*fileQueue, *convertedFilesList, progress, actionBroadcaster);
    fileQueue->addListener (dropArea.get());

    auto progressBar = std::make_unique<juce::ProgressBar> (progress);
    auto content = std::make_unique<MainWindowComponent> (std::move (dropArea), std::move (progressBar),
                                                          std::move (convertedFilesList), actionBroadcaster, *controller);
    auto* mainComponent = content.get();

    // A desktop window, deleted by shutdown or by its own close handling.
    auto* window = new MainWindow (std::move (content), std::move (controller), commandManager.get());
    mainWindow = window;

    actionBroadcaster.addActionListener (tableModel);
    actionBroadcaster.addActionListener (mainComponent);
    window->setMenuBar (menuModel.get());
}
