#include <gtest/gtest.h>

#include "DesktopDriver.h"
#include "RunningApplication.h"
#include "conversion/ConverterController.h"
#include "filelist/DragDrop.h"
#include "filelist/FileQueue.h"
#include "mainscreen/MainWindowComponent.h"
#include "support/MessageLoop.h"
#include "support/ModalDriver.h"

#include <juce_audio_formats/juce_audio_formats.h>

// Ending the application while a batch runs. Each road ends the message loop
// of the process, so each runs in a process of its own (see CMakeLists.txt).
namespace
{
    constexpr double inputSeconds = 300.0;

    struct CloseDuringBatch : public ::testing::Test
    {
        // Queues four long files and starts the batch; returns once it runs.
        void startLongBatch()
        {
            ASSERT_TRUE (running.waitForWindow());

            const auto first = RunningApplication::makeAudioFile (input.getFile().getChildFile ("long 1.wav"), inputSeconds, 48000.0, 2);
            juce::StringArray inputs { first.getFullPathName() };
            for (auto name : { "long 2.wav", "long 3.wav", "long 4.wav" })
            {
                ASSERT_TRUE (first.copyFileTo (input.getFile().getChildFile (name)));
                inputs.add (input.getFile().getChildFile (name).getFullPathName());
            }

            ASSERT_EQ (DesktopDriver::dropFiles (running.table().getScreenBounds().getCentre(), inputs), 0);
            ASSERT_TRUE (MessageLoop::runUntil ([&] { return running.queue().getNumEntries() == 4; }, 5000));

            DesktopDriver::click (DesktopDriver::centreOf (running.content().getConvertButton()));
            ASSERT_TRUE (MessageLoop::runUntil ([&] { return running.get().getProgress() > 0.05; }, 60000));
            DesktopDriver::activate (*running.window());
            ASSERT_TRUE (running.window()->getController()->isConverting);
        }

        // Every output left behind is whole: the file being written when the
        // worker stopped is gone, not cut short.
        void expectOnlyWholeOutputs()
        {
            int whole = 0;
            for (auto& file : output.getFile().findChildFiles (juce::File::findFiles, false))
            {
                juce::WavAudioFormat wav;
                std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
                ASSERT_NE (reader, nullptr) << file.getFileName();
                EXPECT_NEAR ((double) reader->lengthInSamples, inputSeconds * 44100.0, 2.0) << file.getFileName();
                ++whole;
            }
            EXPECT_LT (whole, 4);   // the batch did not run to its end
        }

        ModalDriver::Answer answer (const juce::String& promptButton)
        {
            return [this, promptButton] (juce::Component& modal, const ModalDriver::Seen& seen)
            {
                if (auto* browser = ModalDriver::findChild<juce::FileBrowserComponent> (modal))
                {
                    browser->setRoot (output.getFile());
                    ModalDriver::clickButton (modal, "Open");
                    return;
                }

                titles.add (seen.title);
                if (seen.title == "Conversion in Process")
                    ModalDriver::clickButton (modal, promptButton);
                else
                    modal.exitModalState (0);
            };
        }

        RunningApplication running;
        TemporaryFolder input { "orvo-close-in" }, output { "orvo-close-out" };
        juce::StringArray titles;
    };
}

TEST_F (CloseDuringBatch, CloseWindowStopsTheWorkerAndQuits)
{
    ModalDriver driver (answer ("Close Window"));
    startLongBatch();

    DesktopDriver::key ("alt+F4");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return running.window() == nullptr; }, 10000));

    // The window's deletion stopped the worker before the loop ended.
    EXPECT_TRUE (juce::MessageManager::getInstance()->hasStopMessageBeenSent());
    EXPECT_EQ (titles, juce::StringArray ("Conversion in Process"));
    expectOnlyWholeOutputs();
}

TEST_F (CloseDuringBatch, QuitKeyEndsWithoutAsking)
{
    ModalDriver driver (answer ("Finish Conversion"));
    startLongBatch();

    DesktopDriver::key ("ctrl+q");
    ASSERT_TRUE (MessageLoop::runUntil ([] { return juce::MessageManager::getInstance()->hasStopMessageBeenSent(); }, 5000));
    EXPECT_TRUE (titles.isEmpty());

    // What the framework does once the loop has ended: shutdown stops the worker.
    running.shutdown();
    EXPECT_EQ (running.window(), nullptr);
    expectOnlyWholeOutputs();
}
