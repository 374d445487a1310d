#include "TypefaceResolver.h"

#include <fontconfig/fontconfig.h>

namespace
{
    // What the platform substitutes for the family, as fc-match reports it.
    juce::String askFontconfig (const juce::String& family)
    {
        if (FcInit() == FcFalse)
            return {};

        juce::String result;

        if (auto* pattern = FcPatternCreate())
        {
            FcPatternAddString (pattern, FC_FAMILY, reinterpret_cast<const FcChar8*> (family.toRawUTF8()));
            FcConfigSubstitute (nullptr, pattern, FcMatchPattern);
            FcDefaultSubstitute (pattern);

            FcResult matchResult = FcResultNoMatch;

            if (auto* match = FcFontMatch (nullptr, pattern, &matchResult))
            {
                FcChar8* matchedFamily = nullptr;

                if (FcPatternGetString (match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily != nullptr)
                    result = juce::String::fromUTF8 (reinterpret_cast<const char*> (matchedFamily));

                FcPatternDestroy (match);
            }

            FcPatternDestroy (pattern);
        }

        return result;
    }
}

juce::String TypefaceResolver::resolveFamily (const juce::String& requestedFamily)
{
    // The framework's list is built once per process; it is what it can load.
    static const auto known = juce::Font::findAllTypefaceNames();

    if (known.contains (requestedFamily, true))
        return requestedFamily;

    const auto substitute = askFontconfig (requestedFamily);

    for (auto& name : known)
        if (name.equalsIgnoreCase (substitute))
            return name;

    return {};
}

juce::Font TypefaceResolver::getFont (const juce::String& requestedFamily, float height, int styleFlags)
{
    const auto family = resolveFamily (requestedFamily);

    if (family.isEmpty())
        return juce::Font (height, styleFlags);

    return juce::Font (family, height, styleFlags);
}
