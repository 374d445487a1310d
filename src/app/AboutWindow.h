#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The borderless About window; a click on it closes it. */
class AboutWindow : public juce::ResizableWindow
{
public:
    AboutWindow();
    ~AboutWindow() override;

private:
    JUCE_DECLARE_WEAK_REFERENCEABLE (AboutWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
