#pragma once

#include <atomic>
#include <juce_gui_basics/juce_gui_basics.h>

class FileQueue;

/** The model of the file table: one row per queued file, with the input name
    painted in column 2, a RemoveButton in column 1 and a FileNameEditor in
    column 3. It follows the batch state from the action messages, so that the
    row controls and drops are refused while a batch runs. */
class DragDropTableModel : public juce::TableListBoxModel,
                           public juce::ActionListener
{
public:
    explicit DragDropTableModel (FileQueue* queue);
    ~DragDropTableModel() override;

    int getNumRows() override;
    void paintRowBackground (juce::Graphics&, int rowNumber, int width, int height, bool rowIsSelected) override;
    void paintCell (juce::Graphics&, int rowNumber, int columnId, int width, int height, bool rowIsSelected) override;
    juce::Component* refreshComponentForCell (int rowNumber, int columnId, bool isRowSelected,
                                              juce::Component* existingComponentToUpdate) override;

    void actionListenerCallback (const juce::String& message) override;

    /** The stored output name of a row, for the name editor. */
    juce::String getOutputName (int row) const;

    /** The application's queue; not owned. */
    FileQueue* const fileQueue;

    /** True from "Convert" until "Conversion Complete". Set on the message
        thread; read there and by a refresh on the conversion worker. */
    std::atomic<bool> isConverting { false };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DragDropTableModel)
};
