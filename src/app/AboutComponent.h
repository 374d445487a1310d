#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The About window's content: the picture, the version in the middle and two
    legal lines near the bottom. A click on it closes the window. */
class AboutComponent : public juce::Component
{
public:
    explicit AboutComponent (juce::Image& image);
    ~AboutComponent() override;

    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    juce::Label& getVersionLabel() noexcept  { return *versionLabel; }

    static const juce::String firstLegalLine;
    static const juce::String secondLegalLine;
    static constexpr int firstLegalLineY = 211, secondLegalLineY = 227, textHeight = 15;

private:
    juce::Image& image;
    std::unique_ptr<juce::Label> versionLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutComponent)
};
