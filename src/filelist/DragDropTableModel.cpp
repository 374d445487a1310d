#include "filelist/DragDropTableModel.h"

#include "app/MessageType.h"
#include "filelist/FileNameEditor.h"
#include "filelist/FileQueue.h"
#include "filelist/RemoveButton.h"

DragDropTableModel::DragDropTableModel (FileQueue* queue)
    : fileQueue (queue)
{
}

DragDropTableModel::~DragDropTableModel() = default;

int DragDropTableModel::getNumRows()
{
    return fileQueue->getNumEntries();
}

void DragDropTableModel::paintRowBackground (juce::Graphics&, int, int, int, bool)
{
    // Rows stay transparent over the drop area's artwork, selected or not.
}

void DragDropTableModel::paintCell (juce::Graphics& g, int rowNumber, int columnId, int width, int height, bool)
{
    if (columnId != 2)
        return;

    g.drawText (fileQueue->getInputFileName (rowNumber), 0, 0, width - 5, height,
                juce::Justification::centredLeft, false);
}

namespace
{
    // The cell component of the wanted class: the existing one when it is of
    // that class, else a new one. A component of another class is deleted,
    // since the table handed it over to be reused or dropped.
    template <typename Cell>
    Cell* reuseOrCreate (juce::Component* existing, DragDropTableModel& owner)
    {
        if (auto* cell = dynamic_cast<Cell*> (existing))
            return cell;

        std::unique_ptr<juce::Component> discarded (existing);
        return std::make_unique<Cell> (owner).release();
    }
}

juce::Component* DragDropTableModel::refreshComponentForCell (int rowNumber, int columnId, bool,
                                                              juce::Component* existingComponentToUpdate)
{
    if (columnId == 1)
    {
        auto* button = reuseOrCreate<RemoveButton> (existingComponentToUpdate, *this);
        button->setEnabled (! isConverting);
        button->row = rowNumber;
        button->columnId = 1;
        return button;
    }

    if (columnId == 3)
    {
        auto* editor = reuseOrCreate<FileNameEditor> (existingComponentToUpdate, *this);
        editor->row = rowNumber;
        editor->columnId = 3;
        editor->getTextEditor().setText (getOutputName (rowNumber), true);
        editor->setEnabled (! isConverting);
        return editor;
    }

    std::unique_ptr<juce::Component> unexpected (existingComponentToUpdate);
    return nullptr;
}

void DragDropTableModel::actionListenerCallback (const juce::String& message)
{
    if (message == getMessageString (MessageType::convert))
        isConverting = true;
    else if (message == getMessageString (MessageType::conversionComplete))
        isConverting = false;

    // Every message ends in a refresh, so the row controls take the new state at once.
    fileQueue->notifyListeners();
}

juce::String DragDropTableModel::getOutputName (int row) const
{
    return fileQueue->getOutputName (row);
}
