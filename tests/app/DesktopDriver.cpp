#include "DesktopDriver.h"

#include "support/MessageLoop.h"

#include <gtest/gtest.h>

int DesktopDriver::run (const juce::StringArray& command, int timeoutMs)
{
    juce::ChildProcess process;

    if (! process.start (command, juce::ChildProcess::wantStdErr))
        return -1;

    if (! MessageLoop::runUntil ([&] { return ! process.isRunning(); }, timeoutMs))
    {
        process.kill();
        return -1;
    }

    return (int) process.getExitCode();
}

int DesktopDriver::dropFiles (juce::Point<int> screenPosition, const juce::StringArray& paths, int timeoutMs)
{
    const auto client = juce::SystemStats::getEnvironmentVariable ("ORVO_XDND_DROP", {});
    EXPECT_TRUE (juce::File (client).existsAsFile()) << "ORVO_XDND_DROP names no client";

    juce::StringArray command { client, "--timeout", juce::String (timeoutMs),
                                juce::String (screenPosition.x), juce::String (screenPosition.y) };
    command.addArray (paths);
    return run (command, timeoutMs + 5000);
}

void DesktopDriver::click (juce::Point<int> p)
{
    EXPECT_EQ (run ({ "xdotool", "mousemove", "--sync", juce::String (p.x), juce::String (p.y) }), 0);
    MessageLoop::runFor (50);
    EXPECT_EQ (run ({ "xdotool", "click", "1" }), 0);
    MessageLoop::runFor (100);
}

void DesktopDriver::key (const juce::String& keys)
{
    EXPECT_EQ (run ({ "xdotool", "key", "--clearmodifiers", keys }), 0);
    MessageLoop::runFor (100);
}

void DesktopDriver::type (const juce::String& text)
{
    EXPECT_EQ (run ({ "xdotool", "type", "--delay", "30", text }), 0);
    MessageLoop::runFor (100);
}

void DesktopDriver::activate (juce::Component& window)
{
    const auto id = juce::String ((juce::uint64) (juce::pointer_sized_uint) window.getWindowHandle());
    EXPECT_EQ (run ({ "xdotool", "windowactivate", "--sync", id }), 0);
    if (auto* topLevel = dynamic_cast<juce::TopLevelWindow*> (&window))
        MessageLoop::runUntil ([&] { return topLevel->isActiveWindow(); }, 3000);
    MessageLoop::runFor (100);
}

void DesktopDriver::parkPointer()
{
    EXPECT_EQ (run ({ "xdotool", "mousemove", "--sync", "1", "1" }), 0);
    MessageLoop::runFor (200);
}

juce::Image DesktopDriver::screenshot (const juce::File& saveAs)
{
    saveAs.deleteFile();
    saveAs.getParentDirectory().createDirectory();

    if (run ({ "import", "-window", "root", saveAs.getFullPathName() }) != 0)
        return {};

    return juce::ImageFileFormat::loadFrom (saveAs);
}

juce::Point<int> DesktopDriver::centreOf (const juce::Component& component)
{
    return component.getScreenBounds().getCentre();
}
