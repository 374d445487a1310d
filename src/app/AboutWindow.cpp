#include "AboutWindow.h"

#include "AboutComponent.h"
#include "ApplicationIcon.h"
#include "BinaryData.h"

AboutWindow::AboutWindow()
    : juce::ResizableWindow ({}, true)
{
    aboutImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_About_png, BinaryData::Orvo_About_pngSize);
    aboutComponent = std::make_unique<AboutComponent> (aboutImage);
    aboutComponent->setSize (aboutImage.getWidth(), aboutImage.getHeight());
    setContentNonOwned (aboutComponent.get(), true);
    setUsingNativeTitleBar (false);
    setResizable (false, false);
    centreWithSize (aboutComponent->getWidth(), aboutComponent->getHeight());
    setAlwaysOnTop (true);
    setVisible (true);
    ApplicationIcon::applyTo (*this);
}

AboutWindow::~AboutWindow()
{
    masterReference.clear();
    clearContentComponent();
    aboutComponent.reset();
    aboutImage = {};
}
