#pragma once

#include <juce_core/juce_core.h>

/** Where the user guide lives, below the user's Documents folder. */
inline const juce::String userGuideFolder ("Quillon/Orvo File Conversion Utility/");
inline const juce::String userGuideFileName ("Orvo File Conversion Utility - User Guide.pdf");

inline const juce::String applicationName ("Orvo File Conversion Utility");
inline const juce::String applicationVersion ("1.0.6");
