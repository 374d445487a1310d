#include "MainWindow.h"

#include "ApplicationConstants.h"
#include "ApplicationIcon.h"
#include "conversion/ConverterController.h"
#include "mainscreen/MainWindowComponent.h"

MainWindow::MainWindow (std::unique_ptr<MainWindowComponent> mainContent,
                        std::unique_ptr<ConverterController> converterController,
                        juce::ApplicationCommandManager* manager)
    : juce::DocumentWindow (applicationName,
                            juce::Colour::greyLevel (0.6f),
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton,
                            false),
      commandManager (manager),
      controller (std::move (converterController)),
      content (std::move (mainContent)),
      conversionInProcessAlert ("Conversion in Process", {}, juce::MessageBoxIconType::NoIcon, nullptr)
{
    conversionInProcessAlert.addButton ("Close Window", 1);
    conversionInProcessAlert.addButton ("Finish Conversion", 0);
    conversionInProcessAlert.setLookAndFeel (&customLook);

    addKeyListener (commandManager->getKeyMappings());
    setUsingNativeTitleBar (true);
    setContentNonOwned (content.get(), false);
    setResizable (false, false);
    addToDesktop (getDesktopWindowStyleFlags());
    centreWithSize (windowWidth, windowHeight);
    setVisible (true);
    setLookAndFeel (&customLook);
    ApplicationIcon::applyTo (*this);
}

MainWindow::~MainWindow()
{
    controller->prepareForShutdown();
    controller.reset();   // waits for the worker thread

    clearContentComponent();
    content.reset();

    removeKeyListener (commandManager->getKeyMappings());   // does nothing if it is not one

    setMenuBar (nullptr);
    masterReference.clear();

    // The look goes before the base class: nothing may still point at it.
    conversionInProcessAlert.setLookAndFeel (nullptr);
    setLookAndFeel (nullptr);
}

void MainWindow::closeButtonPressed()
{
    if (controller->isConverting)
    {
        juce::Component::SafePointer<MainWindow> self (this);

        conversionInProcessAlert.addToDesktop (conversionInProcessAlert.getLookAndFeel().getAlertBoxWindowFlags());
        const int result = conversionInProcessAlert.runModalLoop();

        // The application may have shut the window down meanwhile.
        if (self == nullptr)
            return;

        conversionInProcessAlert.removeFromDesktop();

        if (result != 1)
            return;
    }

    delete this;
    juce::JUCEApplication::quit();
}
