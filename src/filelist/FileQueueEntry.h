#pragma once

#include <juce_core/juce_core.h>

/** One queued input file with the name its output will be written under. */
struct FileQueueEntry
{
    juce::String inputPath;   // full absolute path of the input file
    juce::String outputName;  // output file name without folder and extension
};
