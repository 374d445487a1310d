#include "filelist/FileInputFilter.h"

const juce::String FileInputFilter::refusedCharacters ("\"#@,;:<>*^|?\\/");

FileInputFilter::~FileInputFilter() = default;

juce::String FileInputFilter::filterNewText (juce::TextEditor&, const juce::String& newInput)
{
    // The editor's whole text is not limited here: the queue cuts the stored name.
    return newInput.removeCharacters (refusedCharacters).substring (0, maxInsertionLength);
}
