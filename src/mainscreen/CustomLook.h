#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application's drawing style: the framework's V3 look with its own
    progress bar (a red vertical gradient on the bar's background colour, black
    text) and toggle button (a plain black square, an X when on, then the text).

    Never installed process-wide: each owner keeps an instance and sets it on
    the windows it owns.
*/
class CustomLook : public juce::LookAndFeel_V3
{
public:
    CustomLook() = default;
    ~CustomLook() override = default;

    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                           bool isMouseOverButton, bool isButtonDown) override;

    /** Draws the box at the component's origin: x and y are ignored, so the
        box sits at the toggle's top-left corner. */
    void drawTickBox (juce::Graphics& g, juce::Component& component,
                      float x, float y, float w, float h,
                      bool ticked, bool isEnabled,
                      bool isMouseOverButton, bool isButtonDown) override;

    void drawProgressBar (juce::Graphics& g, juce::ProgressBar& bar,
                          int width, int height, double progress,
                          const juce::String& textToShow) override;

    static const juce::Colour barTop;      // gradient start and its first stop
    static const juce::Colour barMiddle;   // from 30 % of the height to the bottom
    static const juce::Colour barBottom;   // the last stop

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CustomLook)
};
