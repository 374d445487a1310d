#include "MainWindow.h"

#include "ApplicationConstants.h"

MainWindow::MainWindow (juce::ApplicationCommandManager* manager)
    : juce::DocumentWindow (applicationName,
                            juce::Colour::greyLevel (0.6f),
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton,
                            false),
      commandManager (manager)
{
    addKeyListener (commandManager->getKeyMappings());
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    addToDesktop (getDesktopWindowStyleFlags());
    centreWithSize (420, 720);
    setVisible (true);
}

MainWindow::~MainWindow()
{
    removeKeyListener (commandManager->getKeyMappings());

    setMenuBar (nullptr);
    masterReference.clear();
}

void MainWindow::closeButtonPressed()
{
    delete this;
    juce::JUCEApplication::quit();
}
