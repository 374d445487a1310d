#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Refuses, as they are typed or pasted, the characters that may not appear
    in an output name, and lets at most 8 characters of one insertion through. */
class FileInputFilter : public juce::TextEditor::InputFilter
{
public:
    FileInputFilter() = default;
    ~FileInputFilter() override;

    juce::String filterNewText (juce::TextEditor&, const juce::String& newInput) override;

    /** The 14 refused characters. */
    static const juce::String refusedCharacters;

    static constexpr int maxInsertionLength = 8;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileInputFilter)
};
