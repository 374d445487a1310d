#pragma once

#include <functional>
#include <juce_events/juce_events.h>

/** Runs the message loop of the calling (message) thread. */
class MessageLoop
{
public:
    /** Dispatches messages until the condition holds or the time runs out;
        returns whether the condition held. */
    static bool runUntil (const std::function<bool()>& condition, int timeoutMs = 10000);

    /** Dispatches messages for the given time. */
    static void runFor (int milliseconds);

private:
    MessageLoop() = delete;
};
