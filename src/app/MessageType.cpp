#include "MessageType.h"

juce::String getMessageString (MessageType type)
{
    switch (type)
    {
        case MessageType::convert:            return "Convert";
        case MessageType::conversionComplete: return "Conversion Complete";
        case MessageType::clearAll:           return "Clear All";
        case MessageType::abort:              return "Abort";
    }

    return {};
}
