#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class AboutComponent;

/** The About window: the picture with the version and two legal lines, framed
    by a one-pixel border, always on top; a click on it closes it. */
class AboutWindow : public juce::ResizableWindow
{
public:
    AboutWindow();
    ~AboutWindow() override;

    AboutComponent* getAboutComponent() const noexcept  { return aboutComponent.get(); }

private:
    std::unique_ptr<AboutComponent> aboutComponent;
    juce::Image aboutImage;

    JUCE_DECLARE_WEAK_REFERENCEABLE (AboutWindow)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
