#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class DragDropTableModel;

/** The file table: one row per queued file, and the window's only drop
    target for files. It owns its model. */
class DragDrop : public juce::TableListBox,
                 public juce::FileDragAndDropTarget
{
public:
    /** Takes ownership of the model; the owner configures the table later. */
    explicit DragDrop (DragDropTableModel* model);
    ~DragDrop() override;

    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    DragDropTableModel* getTableModel() const noexcept  { return model.get(); }

private:
    std::unique_ptr<DragDropTableModel> model;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DragDrop)
};
