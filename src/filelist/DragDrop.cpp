#include "filelist/DragDrop.h"

#include "filelist/DragDropTableModel.h"
#include "filelist/FileQueue.h"

DragDrop::DragDrop (DragDropTableModel* tableModel)
    : juce::TableListBox ({}, nullptr),
      model (tableModel)
{
}

DragDrop::~DragDrop()
{
    // The rows go while the model still exists; the model goes before the bases.
    setModel (nullptr);
}

bool DragDrop::isInterestedInFileDrag (const juce::StringArray&)
{
    return ! model->isConverting;
}

void DragDrop::filesDropped (const juce::StringArray& files, int, int)
{
    // The framework asks isInterestedInFileDrag first; this holds for any other caller.
    if (model->isConverting)
        return;

    model->fileQueue->addFiles (files);
}
