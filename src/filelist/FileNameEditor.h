#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class DragDropTableModel;

/** The output-name cell in column 3 of a file table row: a borderless text
    editor whose every change goes straight to the queue. The queue holds the
    name; the table refresh puts the stored form back into the editor. */
class FileNameEditor : public juce::Component,
                       public juce::TextEditor::Listener
{
public:
    explicit FileNameEditor (DragDropTableModel& owner);
    ~FileNameEditor() override;

    void resized() override;
    void parentHierarchyChanged() override;
    void lookAndFeelChanged() override;
    void textEditorTextChanged (juce::TextEditor&) override;

    juce::TextEditor& getTextEditor() noexcept  { return editor; }

    /** The queue index this cell stands for, set by the model at every refresh. */
    int row = 0;
    int columnId = 3;

private:
    void takeTextColourFromLook();

    DragDropTableModel& owner;
    juce::TextEditor editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileNameEditor)
};
