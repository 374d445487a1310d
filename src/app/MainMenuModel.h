#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The menus "File", "Window" and "Help", filled with the application's commands. */
class MainMenuModel : public juce::MenuBarModel
{
public:
    explicit MainMenuModel (juce::ApplicationCommandManager& commandManager);
    ~MainMenuModel() override;

    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

private:
    juce::ApplicationCommandManager* commandManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainMenuModel)
};
