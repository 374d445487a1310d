#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application's document window. */
class MainWindow : public juce::DocumentWindow
{
public:
    explicit MainWindow (juce::ApplicationCommandManager* commandManager);
    ~MainWindow() override;

    void closeButtonPressed() override;

private:
    juce::ApplicationCommandManager* commandManager;

    JUCE_DECLARE_WEAK_REFERENCEABLE (MainWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
