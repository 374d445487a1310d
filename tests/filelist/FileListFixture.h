#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "filelist/DragDropArea.h"
#include "filelist/DragDropTableModel.h"
#include "filelist/FileNameEditor.h"
#include "filelist/FileQueue.h"
#include "filelist/RemoveButton.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

/** A queue with the drop area as its listener, wired as the main window
    construction wires them, and a folder for the dropped files. */
struct FileListFixture
{
    FileListFixture()
        : area (std::make_unique<DragDropArea> (std::make_unique<DragDropTableModel> (&queue).release()))
    {
        // The main window's look draws text editors in black, as the framework's V3 look does.
        area->setLookAndFeel (&look);
        queue.addListener (area.get());
    }

    ~FileListFixture()
    {
        queue.removeAllListeners();
        area.reset();
    }

    DragDropTableModel& model()  { return *area->getTable().getTableModel(); }
    DragDrop& table()            { return area->getTable(); }

    juce::File makeFile (const juce::String& name) const
    {
        return folder.createFile (name, juce::MemoryBlock ("x", 1));
    }

    void queueFiles (const juce::StringArray& names)
    {
        for (auto& name : names)
            queue.addFile (makeFile (name));
    }

    RemoveButton* removeButton (int row)  { return dynamic_cast<RemoveButton*> (table().getCellComponent (1, row)); }
    FileNameEditor* nameEditor (int row)  { return dynamic_cast<FileNameEditor*> (table().getCellComponent (3, row)); }

    /** Lets posted text-change and click messages run out. */
    static void settle()  { MessageLoop::runFor (40); }

    TemporaryFolder folder;
    juce::LookAndFeel_V3 look;
    FileQueue queue;
    std::unique_ptr<DragDropArea> area;
};
