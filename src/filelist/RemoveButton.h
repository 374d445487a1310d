#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class DragDropTableModel;

/** The X in column 1 of a file table row: takes its row's entry out of the queue. */
class RemoveButton : public juce::Component,
                     public juce::Button::Listener
{
public:
    explicit RemoveButton (DragDropTableModel& owner);
    ~RemoveButton() override;

    void resized() override;
    void buttonClicked (juce::Button*) override;

    /** The X image button itself. */
    juce::ImageButton& getButton() noexcept  { return button; }

    /** The queue index this cell stands for, set by the model at every refresh. */
    int row = 0;
    int columnId = 1;

private:
    DragDropTableModel& owner;
    juce::ImageButton button;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoveButton)
};
