#include "MainMenuModel.h"

#include "CommandIDs.h"

MainMenuModel::MainMenuModel (juce::ApplicationCommandManager& manager)
    : commandManager (&manager)
{
    setApplicationCommandManagerToWatch (commandManager);
}

MainMenuModel::~MainMenuModel()
{
    commandManager = nullptr;
}

juce::StringArray MainMenuModel::getMenuBarNames()
{
    return { "File", "Window", "Help" };
}

juce::PopupMenu MainMenuModel::getMenuForIndex (int, const juce::String& menuName)
{
    juce::PopupMenu menu;

    if (menuName == "File")
    {
        menu.addCommandItem (commandManager, convertCommand);
        menu.addSeparator();
        menu.addCommandItem (commandManager, quitCommand);
    }
    else if (menuName == "Help")
    {
        menu.addCommandItem (commandManager, openUserGuideCommand);
        menu.addSeparator();
        menu.addCommandItem (commandManager, aboutCommand);
    }
    else if (menuName == "Window")
    {
        menu.addCommandItem (commandManager, minimizeCommand);
        menu.addCommandItem (commandManager, bringToFrontCommand);
        menu.addSeparator();
    }

    return menu;
}

void MainMenuModel::menuItemSelected (int, int)
{
    // Every item is a command item, invoked by the command manager.
}
