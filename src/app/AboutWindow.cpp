#include "AboutWindow.h"

namespace
{
    // Stands in until the About picture and its texts arrive.
    struct ClickToClose : public juce::Component
    {
        void mouseUp (const juce::MouseEvent&) override  { delete getParentComponent(); }
        void paint (juce::Graphics& g) override          { g.fillAll (juce::Colours::white); }
    };
}

AboutWindow::AboutWindow()
    : juce::ResizableWindow ({}, true)
{
    auto content = std::make_unique<ClickToClose>();
    content->setSize (420, 255);
    setContentOwned (content.release(), true);
    setUsingNativeTitleBar (false);
    setResizable (false, false);
    centreWithSize (getContentComponent()->getWidth(), getContentComponent()->getHeight());
    setAlwaysOnTop (true);
    setVisible (true);
}

AboutWindow::~AboutWindow()
{
    masterReference.clear();
}
