#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "mainscreen/CustomLook.h"

class ConverterController;
class MainWindowComponent;

/** The application's one document window: 420 x 720 inside the native frame,
    the menu bar and under it the main window component. It owns the content
    and the conversion controller. Closing it quits the application; during a
    batch it first asks "Conversion in Process". */
class MainWindow : public juce::DocumentWindow
{
public:
    MainWindow (std::unique_ptr<MainWindowComponent> content,
                std::unique_ptr<ConverterController> controller,
                juce::ApplicationCommandManager* commandManager);
    ~MainWindow() override;

    void closeButtonPressed() override;

    MainWindowComponent* getContent() const noexcept        { return content.get(); }
    ConverterController* getController() const noexcept     { return controller.get(); }
    juce::AlertWindow& getConversionInProcessAlert() noexcept { return conversionInProcessAlert; }

    static constexpr int windowWidth = 420, windowHeight = 720;

private:
    juce::ApplicationCommandManager* commandManager;
    std::unique_ptr<ConverterController> controller;
    std::unique_ptr<MainWindowComponent> content;
    CustomLook customLook;
    juce::AlertWindow conversionInProcessAlert;

    JUCE_DECLARE_WEAK_REFERENCEABLE (MainWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
