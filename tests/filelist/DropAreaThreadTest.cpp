#include <atomic>
#include <gtest/gtest.h>

#include "FileListFixture.h"
#include "app/MessageType.h"

namespace
{
    /** Takes entries from the front of the queue as the conversion worker
        does, putting every n-th back at the end as a skipped file. */
    struct TakingWorker : public juce::Thread
    {
        TakingWorker (FileQueue& q, int entriesToTake, int skipEvery = 0)
            : juce::Thread ("File Convert Thread"), queue (q), count (entriesToTake), skip (skipEvery) {}

        ~TakingWorker() override  { stopThread (10000); }

        void run() override
        {
            for (int i = 0; i < count && ! threadShouldExit(); ++i)
            {
                started = true;
                auto entry = queue.takeFirst();

                if (skip > 0 && i % skip == 0)
                    queue.addEntry (entry);

                wait (1);
            }

            finished = true;
        }

        FileQueue& queue;
        const int count, skip;
        std::atomic<bool> started { false }, finished { false };
    };

    void paintInto (juce::Image& image, DragDropArea& area)
    {
        juce::Graphics g (image);
        area.paintEntireComponent (g, false);
    }
}

// The worker changes the queue and refreshes the table under the message-manager
// lock while the message thread keeps painting the panel and handling messages.
TEST (DropAreaThreads, WorkerRefreshesTheTableWhileTheMessageThreadPaints)
{
    FileListFixture f;
    for (int i = 0; i < 30; ++i)
        f.queueFiles ({ "sample" + juce::String (i) + ".wav" });

    f.model().actionListenerCallback (getMessageString (MessageType::convert));
    FileListFixture::settle();

    TakingWorker worker (f.queue, 30, 5);
    juce::Image image (juce::Image::ARGB, f.area->getWidth(), f.area->getHeight(), true);
    int frames = 0;

    worker.startThread();
    ASSERT_TRUE (MessageLoop::runUntil ([&]
    {
        paintInto (image, *f.area);
        ++frames;
        return worker.finished.load();
    }, 30000));
    EXPECT_TRUE (worker.stopThread (10000));
    EXPECT_GT (frames, 1);

    // The skipped entries remain, in the order they were skipped, and the table shows them.
    const juce::StringArray expected { "sample0", "sample5", "sample10", "sample15", "sample20", "sample25" };
    FileListFixture::settle();
    ASSERT_EQ (expected.size(), f.queue.getNumEntries());

    for (int row = 0; row < expected.size(); ++row)
    {
        EXPECT_EQ (expected[row], f.queue.getOutputName (row));
        ASSERT_NE (nullptr, f.nameEditor (row));
        EXPECT_EQ (expected[row], f.nameEditor (row)->getTextEditor().getText());
        EXPECT_FALSE (f.nameEditor (row)->isEnabled());
    }
    EXPECT_EQ (nullptr, f.nameEditor (expected.size()));
}

// While the message thread waits for the worker to end, the worker's refresh
// cannot get the lock; asked to exit, it gives up instead of deadlocking.
TEST (DropAreaThreads, RefreshWaitingForTheLockGivesUpWhenTheWorkerIsAskedToExit)
{
    for (const bool useStopThread : { false, true })
    {
        SCOPED_TRACE (useStopThread ? "stopThread" : "signalThreadShouldExit");
        FileListFixture f;
        f.queueFiles ({ "one.wav", "two.wav", "three.wav" });

        TakingWorker worker (f.queue, 1);
        worker.startThread();

        while (! worker.started)
            juce::Thread::sleep (1);
        juce::Thread::sleep (50);   // most likely inside the lock's wait by now; either way it must give up

        if (useStopThread)
        {
            EXPECT_TRUE (worker.stopThread (10000));
        }
        else
        {
            worker.signalThreadShouldExit();
            EXPECT_TRUE (worker.waitForThreadToExit (10000));
        }

        // The queue changed, the table was not touched.
        EXPECT_EQ (2, f.queue.getNumEntries());
        EXPECT_NE (nullptr, f.removeButton (2));

        // The next refresh on the message thread shows the queue as it is.
        f.area->refreshTable();
        EXPECT_EQ (nullptr, f.removeButton (2));
        EXPECT_EQ (juce::String ("two"), f.nameEditor (0)->getTextEditor().getText());
        FileListFixture::settle();
    }
}
