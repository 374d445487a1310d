#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "filelist/FileQueue.h"
#include "AboutWindow.h"
#include "MainMenuModel.h"
#include "MainWindow.h"

/** The application object: owns the long-lived pieces of the program, builds
    the main window and performs the six application commands. */
class OrvoFileConversionUtilityApplication : public juce::JUCEApplication
{
public:
    OrvoFileConversionUtilityApplication() = default;
    ~OrvoFileConversionUtilityApplication() override = default;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform (const InvocationInfo& info) override;

    void createMainWindow();
    void showAboutWindow();
    void bringMainWindowToFront();
    void openUserGuide();

    /** The guide's location below the user's Documents folder. */
    static juce::File getUserGuideFile();

    // Read access for the window construction and the tests.
    juce::ActionBroadcaster& getActionBroadcaster() noexcept       { return actionBroadcaster; }
    juce::ApplicationCommandManager* getCommandManager() noexcept  { return commandManager.get(); }
    FileQueue* getFileQueue() noexcept                             { return fileQueue.get(); }
    MainWindow* getMainWindow() noexcept                           { return mainWindow.get(); }
    AboutWindow* getAboutWindow() noexcept                         { return aboutWindow.get(); }
    MainMenuModel* getMenuModel() noexcept                         { return menuModel.get(); }
    double& getProgress() noexcept                                 { return progress; }

private:
    juce::ActionBroadcaster actionBroadcaster;
    std::unique_ptr<MainMenuModel> menuModel;
    juce::WeakReference<MainWindow> mainWindow;
    std::unique_ptr<juce::ApplicationCommandManager> commandManager;
    std::unique_ptr<FileQueue> fileQueue;
    juce::WeakReference<AboutWindow> aboutWindow;
    double progress;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvoFileConversionUtilityApplication)
};
