#pragma once

#include "filelist/DragDrop.h"
#include "filelist/FileQueue.h"

/** The panel that holds the file table over its artwork and the heading
    "DROP SAMPLES HERE TO CONVERT". As the queue's listener it refreshes the
    table after every change, from whichever thread made it. */
class DragDropArea : public juce::Component,
                     public FileQueue::FileQueueListener
{
public:
    /** The table takes ownership of the model. */
    explicit DragDropArea (DragDropTableModel* model);
    ~DragDropArea() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void fileQueueChanged (FileQueue*) override;

    /** Makes the table re-read the queue, once the calling thread holds the
        message-manager lock; gives up if the calling juce::Thread is asked to
        exit while it waits. */
    void refreshTable();

    DragDrop& getTable() noexcept  { return table; }

    static const juce::String heading;

private:
    void configureTable();

    juce::Image background;
    DragDrop table;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DragDropArea)
};
