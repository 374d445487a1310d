#include <gtest/gtest.h>
#include <thread>

#include "TestAudio.h"
#include "app/MessageType.h"
#include "conversion/FileConverter.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

// The message "Abort" arrives on the message thread while the conversion runs
// on a worker, as in a batch: the conversion stops after a block and leaves
// no output.
TEST (ConverterThreads, AbortFromTheBroadcasterStopsAConversionOnAWorker)
{
    TemporaryFolder folder;
    const auto input = TestAudio::writeFile (folder.getFile().getChildFile ("in.wav"), 2, 44100 * 60, 48000.0, 16);
    const auto output = folder.getFile().getChildFile ("OUT.wav");

    struct Listener : public FileConverter::ProgressListener
    {
        void progressChanged (const double& p) override
        {
            last = p;
            ++calls;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));   // time for the message to arrive
        }
        std::atomic<double> last { -1.0 };
        std::atomic<int> calls { 0 };
    } listener;

    FileConverter converter;
    converter.addListener (&listener);
    juce::ActionBroadcaster broadcaster;
    broadcaster.addActionListener (&converter);

    std::atomic<bool> finished { false };
    std::thread worker ([&]
    {
        converter.convertFile (input, output);
        finished = true;
    });

    // Once the conversion has started, the messages arrive; only "Abort" stops it.
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return listener.calls > 2; }, 20000));
    broadcaster.sendActionMessage (getMessageString (MessageType::convert));
    broadcaster.sendActionMessage (getMessageString (MessageType::abort));
    const auto stopped = MessageLoop::runUntil ([&] { return finished.load(); }, 20000);
    worker.join();

    ASSERT_TRUE (stopped);
    EXPECT_LT (listener.last.load(), 1.0);
    EXPECT_FALSE (output.exists());
    broadcaster.removeAllActionListeners();
}
