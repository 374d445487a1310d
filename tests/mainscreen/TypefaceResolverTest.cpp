#include <gtest/gtest.h>

#include "mainscreen/TypefaceResolver.h"

namespace
{
    // Advance widths of Helvetica, in thousandths of the em, from its font metrics.
    struct Width { juce::juce_wchar character; float width; };
    const Width helveticaWidths[] = { { 'M', 833 }, { 'i', 222 }, { 'C', 722 }, { 'O', 778 }, { 'F', 611 },
                                      { 'S', 667 }, { 'P', 667 }, { 'r', 333 }, { 'g', 556 }, { 's', 500 } };

    float widthOf (const juce::Font& font, juce::juce_wchar c)
    {
        return font.getStringWidthFloat (juce::String::charToString (c));
    }

    juce::String platformSubstitute (const juce::String& family)
    {
        juce::ChildProcess fcMatch;
        if (! fcMatch.start (juce::StringArray { "fc-match", "-f", "%{family[0]}", family }))
            return {};
        return fcMatch.readAllProcessOutput().trim();
    }
}

TEST (TypefaceResolver, HelveticaBecomesThePlatformsSubstituteWithHelveticaMetrics)
{
    ASSERT_FALSE (juce::Font::findAllTypefaceNames().contains ("Helvetica"));   // else this proves nothing

    const auto family = TypefaceResolver::resolveFamily ("Helvetica");
    EXPECT_EQ (family, platformSubstitute ("Helvetica"));
    EXPECT_TRUE (juce::Font::findAllTypefaceNames().contains (family));

    const auto font = TypefaceResolver::getFont ("Helvetica", 16.0f, juce::Font::plain);
    EXPECT_EQ (font.getTypefacePtr()->getName(), family);

    // Every glyph is as wide, relative to the M, as Helvetica's.
    const auto em = widthOf (font, 'M');
    for (auto& w : helveticaWidths)
        EXPECT_NEAR (widthOf (font, w.character) / em, w.width / 833.0f, 0.01f) << (char) w.character;

    // The framework's own fallback would not have these metrics.
    juce::Font fallback ("Helvetica", 16.0f, juce::Font::plain);
    EXPECT_GT (std::abs (widthOf (fallback, 'i') / widthOf (fallback, 'M') - 222.0f / 833.0f), 0.02f);
}

TEST (TypefaceResolver, StylesInstalledFamiliesAndUnknownNames)
{
    const auto italic = TypefaceResolver::getFont ("Helvetica", 11.0f, juce::Font::italic);
    EXPECT_TRUE (italic.isItalic());
    EXPECT_EQ (italic.getHeight(), 11.0f);
    EXPECT_EQ (italic.getTypefacePtr()->getStyle(), "Italic");

    EXPECT_EQ (TypefaceResolver::resolveFamily ("DejaVu Sans"), "DejaVu Sans");

    // A name nobody has still gives a face the framework can load.
    const auto unknown = TypefaceResolver::resolveFamily ("No Such Family 42");
    EXPECT_TRUE (unknown.isEmpty() || juce::Font::findAllTypefaceNames().contains (unknown));
    EXPECT_EQ (TypefaceResolver::getFont ("No Such Family 42", 12.0f, 0).getHeight(), 12.0f);
}
