#pragma once

#include <juce_graphics/juce_graphics.h>

/** Turns a typeface family asked for by name into a font the framework can
    draw with the right metrics.

    The framework on Linux scans the font folders itself and does not ask the
    platform's font configuration, so a family that is not installed silently
    becomes some other face. Here the platform (fontconfig) is asked which
    family it substitutes, the way every other desktop program would get it,
    and that family is used when the framework knows it.
*/
class TypefaceResolver
{
public:
    /** The installed family that the platform gives for the requested one:
        the family itself when installed, its substitute otherwise, or the
        empty string when the platform offers nothing the framework can load. */
    static juce::String resolveFamily (const juce::String& requestedFamily);

    /** A font of the resolved family; the framework's default sans-serif
        typeface when nothing can be resolved. */
    static juce::Font getFont (const juce::String& requestedFamily, float height, int styleFlags);

private:
    TypefaceResolver() = delete;
};
