#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application's icon for its windows, made from the compiled-in icon
    artwork. Linux has no icon resources in the program file, so each window
    hands this image to the window system itself. */
class ApplicationIcon
{
public:
    /** Side of the image given to the window system: large enough for task
        switchers, small enough for the window property that carries it. */
    static constexpr int size = 128;

    static juce::Image get();

    /** Gives the window's desktop peer the icon; does nothing off the desktop. */
    static void applyTo (juce::Component& window);

private:
    ApplicationIcon() = delete;
};
