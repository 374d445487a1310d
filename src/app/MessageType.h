#pragma once

#include <juce_core/juce_core.h>

/** The action messages that the parts of the application exchange over the
    application's ActionBroadcaster. A message is its text alone. */
enum class MessageType
{
    convert = 0,
    conversionComplete = 1,
    clearAll = 2,
    abort = 3
};

/** The text of a message kind; the empty String for any other value. */
juce::String getMessageString (MessageType type);
