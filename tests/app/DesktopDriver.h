#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Drives the X desktop from a test the way a user does: drops files with the
    XDND client, clicks and types with xdotool and takes screenshots. Each tool
    runs as a child process while the message loop keeps running, so the
    application under test answers it as it would answer a person. */
class DesktopDriver
{
public:
    /** Runs the command while dispatching messages; its exit code, or -1 if it
        did not end in time (it is then killed). */
    static int run (const juce::StringArray& command, int timeoutMs = 20000);

    /** Drops the files at a screen position through the XDND client: 0 if the
        target accepted and finished the drop (see XdndDropClient.cpp). */
    static int dropFiles (juce::Point<int> screenPosition, const juce::StringArray& paths, int timeoutMs = 20000);

    /** A left click at a screen position. */
    static void click (juce::Point<int> screenPosition);

    /** Key presses in xdotool's names, e.g. "ctrl+a", "Return". */
    static void key (const juce::String& keys);
    static void type (const juce::String& text);

    /** Gives the top-level window the keyboard focus through the window manager. */
    static void activate (juce::Component& window);

    /** Moves the pointer out of the way, so that nothing shows a hover state. */
    static void parkPointer();

    /** The whole screen as an image (empty on failure). */
    static juce::Image screenshot (const juce::File& saveAs);

    /** The centre of a component in screen coordinates. */
    static juce::Point<int> centreOf (const juce::Component& component);

private:
    DesktopDriver() = delete;
};
