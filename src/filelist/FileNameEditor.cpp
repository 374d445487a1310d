#include "filelist/FileNameEditor.h"

#include "filelist/DragDropTableModel.h"
#include "filelist/FileInputFilter.h"
#include "filelist/FileQueue.h"

FileNameEditor::FileNameEditor (DragDropTableModel& ownerModel)
    : owner (ownerModel)
{
    for (auto id : { juce::TextEditor::backgroundColourId, juce::TextEditor::outlineColourId,
                     juce::TextEditor::focusedOutlineColourId, juce::TextEditor::shadowColourId })
        editor.setColour (id, juce::Colours::transparentWhite);

    editor.setInputFilter (new FileInputFilter(), true);
    addAndMakeVisible (editor);
    editor.addListener (this);
}

FileNameEditor::~FileNameEditor() = default;

void FileNameEditor::resized()
{
    editor.setBoundsInset (juce::BorderSize<int> (2));
}

// The editor keeps the text colour that was current when its text was set, and
// the model sets the first name before the table adds this cell to its row,
// where the window's look applies. Without this the first name would stay in
// the framework's default text colour, white on the white panel.
void FileNameEditor::parentHierarchyChanged()
{
    takeTextColourFromLook();
}

void FileNameEditor::lookAndFeelChanged()
{
    takeTextColourFromLook();
}

void FileNameEditor::takeTextColourFromLook()
{
    editor.applyColourToAllText (editor.findColour (juce::TextEditor::textColourId), true);
}

void FileNameEditor::textEditorTextChanged (juce::TextEditor&)
{
    // During a batch the editor takes no input, so a change can only come from
    // a refresh, and its row may already stand for another entry: the worker
    // takes entries while this message waits. Writing it back would give that
    // entry the previous entry's name.
    if (owner.isConverting)
        return;

    const auto text = editor.getText();

    if (text.isNotEmpty())
        owner.fileQueue->setOutputName (row, text);
    else
        editor.setText (owner.getOutputName (row), true);
}
