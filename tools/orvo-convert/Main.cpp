#include <csignal>
#include <iostream>

#include "ConvertCommand.h"

namespace
{
    ConvertCommand* activeCommand = nullptr;

    extern "C" void onInterrupt (int)
    {
        if (activeCommand != nullptr)
            activeCommand->interrupt();
    }
}

int main (int argc, char** argv)
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::CharPointer_UTF8 (argv[i]));

    ConvertCommand command;
    activeCommand = &command;

    // Ctrl+C goes through the converter's abort, so that no partial file stays.
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset (&action.sa_mask);
    sigaction (SIGINT, &action, nullptr);
    sigaction (SIGTERM, &action, nullptr);

    const auto status = command.run (arguments);
    activeCommand = nullptr;
    return status;
}
