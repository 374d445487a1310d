#include <gtest/gtest.h>

#include "DesktopDriver.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

// The XDND client against a plain framework window with one file-drop target,
// before it is trusted to drive the application.
namespace
{
    struct Target : public juce::Component, public juce::FileDragAndDropTarget
    {
        bool isInterestedInFileDrag (const juce::StringArray&) override   { return interested; }
        void filesDropped (const juce::StringArray& files, int, int) override { drops.add (files); }

        bool interested = true;
        juce::Array<juce::StringArray> drops;
    };

    struct DropWindow : public ::testing::Test
    {
        DropWindow()
        {
            window.setOpaque (true);
            window.addToDesktop (0);
            window.setBounds (100, 100, 300, 200);
            window.addAndMakeVisible (target);
            target.setBounds (50, 50, 100, 100);
            window.setVisible (true);
            MessageLoop::runUntil ([this] { return window.isShowing() && window.getPeer() != nullptr; });
            MessageLoop::runFor (300);
        }

        ~DropWindow() override
        {
            window.removeFromDesktop();
        }

        juce::Point<int> insideTarget() const  { return target.getScreenBounds().getCentre(); }
        juce::Point<int> outsideTarget() const { return window.getScreenPosition() + juce::Point<int> (10, 10); }

        juce::Component window;
        Target target;
        TemporaryFolder folder { "orvo-xdnd" };
    };
}

TEST_F (DropWindow, FilesAndFoldersArriveAsPathsInOrder)
{
    // Names that need escaping in a URI, and one that looks escaped already.
    const juce::StringArray paths {
        folder.createFile ("plain.wav").getFullPathName(),
        folder.createFile ("with space & more#1.wav").getFullPathName(),
        folder.createFile ("a+b %41 \xc3\xa9t\xc3\xa9.aiff").getFullPathName(),
        folder.getFile().getChildFile ("sub folder").getFullPathName()
    };
    folder.getFile().getChildFile ("sub folder").createDirectory();

    ASSERT_EQ (DesktopDriver::dropFiles (insideTarget(), paths), 0);
    ASSERT_TRUE (MessageLoop::runUntil ([this] { return target.drops.size() == 1; }, 3000));
    EXPECT_EQ (target.drops[0], paths);

    // A second drag from the same source works as well.
    ASSERT_EQ (DesktopDriver::dropFiles (insideTarget(), { paths[0] }), 0);
    ASSERT_TRUE (MessageLoop::runUntil ([this] { return target.drops.size() == 2; }, 3000));
    EXPECT_EQ (target.drops[1], juce::StringArray (paths[0]));
}

TEST_F (DropWindow, NothingArrivesBesideTheTargetOrWhenItIsNotInterested)
{
    const juce::StringArray paths { folder.createFile ("one.wav").getFullPathName() };

    // The framework finishes every drop on its window; the target decides.
    EXPECT_EQ (DesktopDriver::dropFiles (outsideTarget(), paths), 0);
    target.interested = false;
    EXPECT_EQ (DesktopDriver::dropFiles (insideTarget(), paths), 0);
    MessageLoop::runFor (500);
    EXPECT_TRUE (target.drops.isEmpty());

    // Once the target is interested again, the same drop is taken.
    target.interested = true;
    EXPECT_EQ (DesktopDriver::dropFiles (insideTarget(), paths), 0);
    EXPECT_TRUE (MessageLoop::runUntil ([this] { return target.drops.size() == 1; }, 3000));
}

TEST_F (DropWindow, NoTargetUnderThePointAndNoAnswerAreFailures)
{
    const juce::StringArray paths { folder.createFile ("one.wav").getFullPathName() };

    EXPECT_EQ (DesktopDriver::dropFiles ({ 1000, 900 }, paths), 2);   // bare root window

    // With the message loop held up, the window cannot answer in time.
    const auto client = juce::SystemStats::getEnvironmentVariable ("ORVO_XDND_DROP", {});
    juce::ChildProcess process;
    ASSERT_TRUE (process.start (juce::StringArray { client, "--timeout", "700",
                                                    juce::String (insideTarget().x), juce::String (insideTarget().y),
                                                    paths[0] }, juce::ChildProcess::wantStdErr));
    ASSERT_TRUE (process.waitForProcessToFinish (5000));
    EXPECT_EQ (process.getExitCode(), 3u);

    MessageLoop::runFor (500);   // the late messages of the abandoned drag do no harm
    EXPECT_TRUE (target.drops.isEmpty());

    // And bad arguments are reported as such.
    EXPECT_EQ (DesktopDriver::run ({ client, "12" }), 4);
}
