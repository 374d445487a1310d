#include <atomic>
#include <gtest/gtest.h>

#include "filelist/FileQueue.h"
#include "support/TemporaryFolder.h"

namespace
{
    // Reads the queue back from inside the notification, as a table refresh does.
    struct ReadingListener : public FileQueue::FileQueueListener
    {
        void fileQueueChanged (FileQueue* q) override
        {
            for (int i = 0; i < q->getNumEntries(); ++i)
                lengths += q->getOutputName (i).length() + q->getInputFileName (i).length();
        }

        std::atomic<long> lengths { 0 };
    };
}

// One thread takes and puts back entries, as the conversion worker does,
// while this thread reads and edits the queue, as painting and editing do.
TEST (FileQueueThreads, WorkerTakesWhileMessageThreadReadsAndEdits)
{
    TemporaryFolder folder;
    FileQueue queue;
    ReadingListener listener;
    queue.addListener (&listener);

    for (int i = 0; i < 50; ++i)
        queue.addFile (folder.createFile ("file" + juce::String (i) + ".wav", juce::MemoryBlock ("x", 1)));

    std::atomic<bool> done { false };
    std::atomic<int> taken { 0 };

    std::thread worker ([&]
    {
        for (int round = 0; round < 2000; ++round)
        {
            auto entry = queue.takeFirst();

            if (entry.inputPath.isNotEmpty())
            {
                ++taken;
                if (round % 2 == 0)
                    queue.addEntry (entry);
            }
        }

        done = true;
    });

    int edits = 0;

    while (! done)
    {
        const int n = queue.getNumEntries();

        for (int i = 0; i < n + 1; ++i)
        {
            queue.getInputFileName (i);
            queue.getOutputName (i);
        }

        queue.setOutputName (edits % 7, "edit " + juce::String (edits));
        queue.getEntries();
        ++edits;
    }

    worker.join();

    EXPECT_GT (taken.load(), 0);
    EXPECT_GE (queue.getNumEntries(), 0);

    for (auto& entry : queue.getEntries())
        EXPECT_TRUE (entry.inputPath.endsWith (".wav"));
}
