#include <gtest/gtest.h>

#include "BinaryData.h"
#include <juce_audio_formats/juce_audio_formats.h>
#include "DesktopDriver.h"
#include "RunningApplication.h"
#include "app/AboutComponent.h"
#include "app/CommandIDs.h"
#include "conversion/ConverterController.h"
#include "filelist/DragDrop.h"
#include "filelist/DragDropArea.h"
#include "filelist/FileNameEditor.h"
#include "filelist/FileQueue.h"
#include "filelist/RemoveButton.h"
#include "mainscreen/MainWindowComponent.h"
#include "support/MessageLoop.h"
#include "support/ModalDriver.h"

// The application in this process on a desktop with a window manager, driven
// from outside as a user drives it: files dropped by a drag source speaking
// the X drag-and-drop protocol, clicks and keys through the X server, dialogs
// answered through the real modal loops, the screen read back as pixels.
namespace
{
    juce::Image artwork (const void* data, int size)
    {
        return juce::ImageCache::getFromMemory (data, size);
    }

    // Share of the opaque artwork pixels (every 3rd in each direction, inside
    // the region) that the screen shows in another colour.
    double mismatchAt (const juce::Image& shot, juce::Point<int> screenOrigin, const juce::Image& art,
                       juce::Rectangle<int> region = {})
    {
        if (region.isEmpty())
            region = art.getBounds();

        int compared = 0, different = 0;

        for (int y = region.getY(); y < region.getBottom(); y += 3)
        {
            for (int x = region.getX(); x < region.getRight(); x += 3)
            {
                const auto expected = art.getPixelAt (x, y);

                if (expected.getAlpha() != 255)
                    continue;

                const auto seen = shot.getPixelAt (screenOrigin.x + x, screenOrigin.y + y);
                ++compared;

                if (std::abs (seen.getRed() - expected.getRed()) > 12
                    || std::abs (seen.getGreen() - expected.getGreen()) > 12
                    || std::abs (seen.getBlue() - expected.getBlue()) > 12)
                    ++different;
            }
        }

        return compared == 0 ? 1.0 : (double) different / compared;
    }

    bool isGrey (juce::Colour c, int level, int tolerance = 6)
    {
        return std::abs (c.getRed() - level) <= tolerance && std::abs (c.getGreen() - level) <= tolerance
               && std::abs (c.getBlue() - level) <= tolerance;
    }

    bool isBarRed (juce::Colour c)
    {
        return c.getRed() > 140 && c.getGreen() < 70 && c.getBlue() < 100;
    }

    struct EndToEnd : public ::testing::Test
    {
        void SetUp() override
        {
            ASSERT_TRUE (running.waitForWindow());
        }

        juce::Point<int> contentOrigin()   { return running.content().getScreenPosition(); }
        juce::Point<int> tableCentre()     { return running.table().getScreenBounds().getCentre(); }

        juce::StringArray queuedPaths()
        {
            juce::StringArray paths;
            for (auto& entry : running.queue().getEntries())
                paths.add (entry.inputPath);
            return paths;
        }

        // Answers the folder chooser with the output folder and the
        // completion message with OK; any other dialog goes to `other`.
        ModalDriver::Answer answerBatch (const juce::File& outputFolder, ModalDriver::Answer other = {})
        {
            return [outputFolder, other] (juce::Component& modal, const ModalDriver::Seen& seen)
            {
                if (auto* browser = ModalDriver::findChild<juce::FileBrowserComponent> (modal))
                {
                    EXPECT_EQ (seen.title, "Choose Output Folder ");
                    browser->setRoot (outputFolder);
                    EXPECT_TRUE (ModalDriver::clickButton (modal, "Open"));
                }
                else if (seen.title == "Conversion Complete")
                {
                    EXPECT_TRUE (ModalDriver::clickButton (modal, "OK"));
                }
                else if (other)
                {
                    other (modal, seen);
                }
                else
                {
                    ADD_FAILURE() << "unexpected dialog " << seen.title;
                    modal.exitModalState (0);
                }
            };
        }

        bool batchEnded (const ModalDriver& driver)
        {
            for (auto& s : driver.getSeen())
                if (s.title == "Conversion Complete")
                    return ! running.window()->getController()->isConverting
                           && running.content().getConvertButton().isEnabled();
            return false;
        }

        RunningApplication running;
        TemporaryFolder input { "orvo-e2e-in" }, output { "orvo-e2e-out" };
    };
}

TEST_F (EndToEnd, DropRenameRemoveAndConvert)
{
    auto& queue = running.queue();
    auto& content = running.content();

    // The window: 420 x 720 inside the frame, the content 420 x 696 under the menu bar.
    auto* window = running.window();
    EXPECT_EQ (window->getScreenBounds().getWidth(), 420);
    EXPECT_EQ (window->getScreenBounds().getHeight(), 720);
    EXPECT_EQ (content.getScreenBounds(), window->getScreenBounds().withTrimmedTop (24));

    // The window system shows the application's icon for it.
    juce::ChildProcess xprop;
    ASSERT_TRUE (xprop.start (juce::StringArray { "xprop", "-id", juce::String ((juce::pointer_sized_uint) window->getWindowHandle()), "_NET_WM_ICON" }));
    EXPECT_TRUE (xprop.readAllProcessOutput().contains ("Icon (128 x 128)"));

    const auto kick = RunningApplication::makeAudioFile (input.getFile().getChildFile ("Kick Drum 01.wav"), 0.5, 48000.0, 2);
    const auto snare = RunningApplication::makeAudioFile (input.getFile().getChildFile ("snare.aiff"), 0.4, 22050.0, 1);
    const auto loops = input.getFile().getChildFile ("Loops & Fills");
    const auto loopA = RunningApplication::makeAudioFile (loops.getChildFile ("loop a.wav"), 0.3, 96000.0, 2);
    const auto loopB = RunningApplication::makeAudioFile (loops.getChildFile ("sub/loop b.aiff"), 0.3, 44100.0, 1);
    loops.getChildFile ("notes.txt").replaceWithText ("not audio");

    ASSERT_EQ (DesktopDriver::dropFiles (tableCentre(), { kick.getFullPathName(), snare.getFullPathName(), loops.getFullPathName() }), 0);
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 4; }, 5000)) << queue.getNumEntries();

    auto paths = queuedPaths();
    EXPECT_EQ (paths[0], kick.getFullPathName());
    EXPECT_EQ (paths[1], snare.getFullPathName());
    EXPECT_TRUE (paths.contains (loopA.getFullPathName()));
    EXPECT_TRUE (paths.contains (loopB.getFullPathName()));

    // Files released beside the table are not taken: over the drop area's
    // heading, the Convert button and the converted-files list.
    const auto other = RunningApplication::makeAudioFile (input.getFile().getChildFile ("other.wav"), 0.2, 44100.0, 1);
    for (auto point : { content.getDropArea().getScreenPosition() + juce::Point<int> (150, 4),
                        DesktopDriver::centreOf (content.getConvertButton()),
                        DesktopDriver::centreOf (content.getConvertedFilesList()) })
        EXPECT_EQ (DesktopDriver::dropFiles (point, { other.getFullPathName() }), 0);
    MessageLoop::runFor (500);
    EXPECT_EQ (queue.getNumEntries(), 4);

    // Rename the first output in its editor, typing as a user does.
    auto& table = running.table();
    auto* editor = dynamic_cast<FileNameEditor*> (table.getCellComponent (3, 0));
    ASSERT_NE (editor, nullptr);
    DesktopDriver::click (DesktopDriver::centreOf (*editor));
    DesktopDriver::key ("ctrl+a");
    DesktopDriver::type ("bass:line9");   // the colon is refused, the ninth character too
    DesktopDriver::key ("Return");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getOutputName (0) == "bassline"; }, 3000)) << queue.getOutputName (0);

    // Remove the snare through its row's X.
    auto* remove = dynamic_cast<RemoveButton*> (table.getCellComponent (1, 1));
    ASSERT_NE (remove, nullptr);
    DesktopDriver::click (DesktopDriver::centreOf (*remove));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 3; }, 3000));
    EXPECT_FALSE (queuedPaths().contains (snare.getFullPathName()));

    juce::StringArray expectedNames;
    for (auto& entry : queue.getEntries())
        expectedNames.add (entry.outputName + ".wav");
    EXPECT_EQ (expectedNames[0], "bassline.wav");

    // The idle window, checked at the layout's places.
    DesktopDriver::parkPointer();
    const auto idle = DesktopDriver::screenshot (RunningApplication::artefactFolder().getChildFile ("idle.png"));
    ASSERT_TRUE (idle.isValid());
    const auto origin = contentOrigin();

    const auto dropArt = artwork (BinaryData::Orvo_DropSampleBackground_png, BinaryData::Orvo_DropSampleBackground_pngSize);
    EXPECT_LT (mismatchAt (idle, origin + juce::Point<int> (16, 110), dropArt, { 0, 90, dropArt.getWidth(), 160 }), 0.02);
    const auto convertArt = artwork (BinaryData::Orvo_ConvertButton_Off_png, BinaryData::Orvo_ConvertButton_Off_pngSize);
    EXPECT_LT (mismatchAt (idle, origin + juce::Point<int> (290, 379), convertArt), 0.02);
    const auto listArt = artwork (BinaryData::Orvo_ConvertedFilesBackground_png, BinaryData::Orvo_ConvertedFilesBackground_pngSize);
    EXPECT_LT (mismatchAt (idle, origin + juce::Point<int> (16, 508), listArt), 0.02);

    // The progress bar fills 16, 440, 389 x 25 in light grey at 0 %.
    EXPECT_TRUE (isGrey (idle.getPixelAt (origin.x + 17, origin.y + 441), 0xd3));
    EXPECT_TRUE (isGrey (idle.getPixelAt (origin.x + 16 + 388, origin.y + 440 + 24), 0xd3));
    EXPECT_FALSE (isGrey (idle.getPixelAt (origin.x + 15, origin.y + 452), 0xd3));
    EXPECT_FALSE (isGrey (idle.getPixelAt (origin.x + 16 + 389, origin.y + 452), 0xd3));
    EXPECT_FALSE (isGrey (idle.getPixelAt (origin.x + 17, origin.y + 439), 0xd3, 2));

    // Convert: the folder chooser, then the batch, then its completion message.
    ModalDriver driver (answerBatch (output.getFile()));
    DesktopDriver::click (DesktopDriver::centreOf (content.getConvertButton()));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return batchEnded (driver); }, 30000));

    EXPECT_EQ (queue.getNumEntries(), 0);
    for (auto& name : expectedNames)
    {
        const auto converted = output.getFile().getChildFile (name);
        ASSERT_TRUE (converted.existsAsFile()) << name;

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (converted.createInputStream().release(), true));
        ASSERT_NE (reader, nullptr) << name;
        EXPECT_EQ (reader->sampleRate, 44100.0);
        EXPECT_EQ (reader->bitsPerSample, 16u);
    }
    EXPECT_EQ (output.getFile().getNumberOfChildFiles (juce::File::findFilesAndDirectories), expectedNames.size());

    juce::StringArray listed;
    listed.addLines (content.getConvertedFilesList().getText().trimEnd());
    EXPECT_EQ (listed, expectedNames);
    EXPECT_EQ (running.get().getProgress(), 0.0);
}

TEST_F (EndToEnd, DuringABatchDropsAreRefusedAndClosingAsksFirst)
{
    auto& queue = running.queue();
    auto& content = running.content();

    // Long enough inputs that the batch can be watched.
    const auto first = RunningApplication::makeAudioFile (input.getFile().getChildFile ("long one.wav"), 300.0, 48000.0, 2);
    juce::StringArray inputs { first.getFullPathName() };
    for (auto name : { "long two.wav", "long three.wav", "long four.wav" })
    {
        const auto copy = input.getFile().getChildFile (name);
        ASSERT_TRUE (first.copyFileTo (copy));
        inputs.add (copy.getFullPathName());
    }

    ASSERT_EQ (DesktopDriver::dropFiles (tableCentre(), inputs), 0);
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 4; }, 5000));
    juce::StringArray outputNames;
    for (auto& entry : queue.getEntries())
        outputNames.add (entry.outputName);

    int prompts = 0;
    ModalDriver driver (answerBatch (output.getFile(), [&] (juce::Component& modal, const ModalDriver::Seen& seen)
    {
        EXPECT_EQ (seen.title, "Conversion in Process");
        EXPECT_EQ (seen.buttons, juce::StringArray ({ "Close Window", "Finish Conversion" }));
        ++prompts;
        EXPECT_TRUE (ModalDriver::clickButton (modal, "Finish Conversion"));
    }));

    DesktopDriver::click (DesktopDriver::centreOf (content.getConvertButton()));
    auto& progress = running.get().getProgress();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return progress > 0.05; }, 20000));

    // The window during the batch: buttons faded, the bar partly red.
    EXPECT_FALSE (content.getConvertButton().isEnabled());
    EXPECT_FALSE (content.getClearAllButton().isEnabled());
    DesktopDriver::parkPointer();
    const auto busy = DesktopDriver::screenshot (RunningApplication::artefactFolder().getChildFile ("batch.png"));
    ASSERT_TRUE (busy.isValid());
    const auto origin = contentOrigin();
    const auto convertArt = artwork (BinaryData::Orvo_ConvertButton_Off_png, BinaryData::Orvo_ConvertButton_Off_pngSize);
    EXPECT_GT (mismatchAt (busy, origin + juce::Point<int> (290, 379), convertArt), 0.3);
    EXPECT_TRUE (isBarRed (busy.getPixelAt (origin.x + 18, origin.y + 452)));
    EXPECT_TRUE (isGrey (busy.getPixelAt (origin.x + 16 + 386, origin.y + 441), 0xd3));

    // A drop now is refused, and never arrives later either.
    const auto late = RunningApplication::makeAudioFile (input.getFile().getChildFile ("late.wav"), 0.2, 44100.0, 1);
    EXPECT_EQ (DesktopDriver::dropFiles (tableCentre(), { late.getFullPathName() }), 0);

    // Closing the window through the window manager asks first; "Finish
    // Conversion" leaves the batch running.
    DesktopDriver::activate (*running.window());
    ASSERT_TRUE (running.window()->getController()->isConverting);   // or the close would quit at once
    DesktopDriver::key ("alt+F4");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return prompts == 1; }, 5000));
    EXPECT_NE (running.window(), nullptr);

    ASSERT_TRUE (MessageLoop::runUntil ([&] { return batchEnded (driver); }, 60000));
    EXPECT_NE (running.window(), nullptr);
    for (auto& name : outputNames)
        EXPECT_TRUE (output.getFile().getChildFile (name + ".wav").existsAsFile()) << name;
    EXPECT_FALSE (queuedPaths().contains (late.getFullPathName()));
    EXPECT_EQ (queue.getNumEntries(), 0);

    // Once the batch is over, the same drop is taken.
    EXPECT_EQ (DesktopDriver::dropFiles (tableCentre(), { late.getFullPathName() }), 0);
    EXPECT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 1; }, 5000));
}

TEST_F (EndToEnd, FileExistsDialogOverTheBusyWindow)
{
    auto& queue = running.queue();
    const auto sample = RunningApplication::makeAudioFile (input.getFile().getChildFile ("hat.wav"), 0.3, 48000.0, 2);
    output.getFile().getChildFile ("hat.wav").replaceWithText ("an older output");

    ASSERT_EQ (DesktopDriver::dropFiles (tableCentre(), { sample.getFullPathName() }), 0);
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 1; }, 5000));

    bool checked = false;
    ModalDriver driver (answerBatch (output.getFile(), [&] (juce::Component& modal, const ModalDriver::Seen& seen)
    {
        EXPECT_EQ (seen.title, "File Exists");
        EXPECT_EQ (seen.buttons, juce::StringArray ({ "Overwrite", "Skip" }));

        MessageLoop::runFor (400);   // painted on the screen
        const auto shot = DesktopDriver::screenshot (RunningApplication::artefactFolder().getChildFile ("file-exists.png"));
        ASSERT_TRUE (shot.isValid());

        // The screen shows the dialog where it is, as it paints itself.
        const auto own = modal.createComponentSnapshot (modal.getLocalBounds());
        const auto at = modal.getScreenPosition();
        int same = 0, compared = 0;
        for (int y = 2; y < own.getHeight() - 2; y += 7)
            for (int x = 2; x < own.getWidth() - 2; x += 7, ++compared)
                if (std::abs (own.getPixelAt (x, y).getBrightness() - shot.getPixelAt (at.x + x, at.y + y).getBrightness()) < 0.05f)
                    ++same;
        EXPECT_GT (same, compared * 9 / 10);
        EXPECT_FALSE (running.content().getConvertButton().isEnabled());

        checked = true;
        EXPECT_TRUE (ModalDriver::clickButton (modal, "Skip"));
    }));

    DesktopDriver::click (DesktopDriver::centreOf (running.content().getConvertButton()));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return batchEnded (driver); }, 20000));
    EXPECT_TRUE (checked);
    EXPECT_EQ (output.getFile().getChildFile ("hat.wav").loadFileAsString(), "an older output");
    EXPECT_EQ (queue.getNumEntries(), 1);   // a skipped file stays queued
}

TEST_F (EndToEnd, KeysMenusAboutAndRebuild)
{
    auto& app = running.get();

    // The menus list exactly their items, with the keys beside Quit and Minimize.
    struct Item { juce::String text, key; bool separator, enabled; };
    auto itemsOf = [&] (const juce::String& name)
    {
        juce::Array<Item> items;
        auto menu = app.getMenuModel()->getMenuForIndex (0, name);
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            // A command item shows the text of its command's first key press.
            auto& i = it.getItem();
            auto key = i.shortcutKeyDescription;
            if (key.isEmpty() && i.commandManager != nullptr)
                key = i.commandManager->getKeyMappings()->getKeyPressesAssignedToCommand (i.itemID)[0].getTextDescription();
            items.add ({ i.text, key, i.isSeparator, i.isEnabled });
        }
        return items;
    };
    auto describe = [] (const juce::Array<Item>& items)
    {
        juce::StringArray lines;
        for (auto& i : items)
            lines.add (i.separator ? "---" : i.text + (i.key.isEmpty() ? "" : " [" + i.key + "]"));
        return lines.joinIntoString ("|");
    };

    EXPECT_EQ (app.getMenuModel()->getMenuBarNames(), juce::StringArray ({ "File", "Window", "Help" }));
    EXPECT_EQ (describe (itemsOf ("File")), "Convert|---|Quit [ctrl + Q]");
    EXPECT_EQ (describe (itemsOf ("Window")), "Minimize [ctrl + M]|Bring to Front|---");
    EXPECT_EQ (describe (itemsOf ("Help")), "Open User Guide|---|About");
    EXPECT_EQ (running.window()->getMenuBarComponent()->getHeight(), 24);

    // Ctrl+M minimises; Bring to Front restores.
    DesktopDriver::activate (*running.window());
    DesktopDriver::key ("ctrl+m");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return running.window()->isMinimised(); }, 5000));
    ASSERT_TRUE (app.getCommandManager()->invokeDirectly (bringToFrontCommand, false));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! running.window()->isMinimised(); }, 5000));

    // About twice opens one window; a click on the version strip keeps it,
    // a click on the picture closes it.
    ASSERT_TRUE (app.getCommandManager()->invokeDirectly (aboutCommand, false));
    ASSERT_TRUE (app.getCommandManager()->invokeDirectly (aboutCommand, false));
    auto* about = app.getAboutWindow();
    ASSERT_NE (about, nullptr);
    int aboutWindows = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        if (dynamic_cast<AboutWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)) != nullptr)
            ++aboutWindows;
    EXPECT_EQ (aboutWindows, 1);
    MessageLoop::runFor (500);

    auto* aboutContent = about->getAboutComponent();
    EXPECT_EQ (about->getWidth(), 420);
    EXPECT_EQ (about->getHeight(), 255);
    EXPECT_EQ (aboutContent->getBounds(), juce::Rectangle<int> (1, 1, 418, 253));
    EXPECT_TRUE (about->isAlwaysOnTop());

    // On the screen, above the main window.
    const auto shot = DesktopDriver::screenshot (RunningApplication::artefactFolder().getChildFile ("about.png"));
    const auto aboutArt = artwork (BinaryData::Orvo_About_png, BinaryData::Orvo_About_pngSize);
    EXPECT_LT (mismatchAt (shot, aboutContent->getScreenPosition(), aboutArt, { 0, 0, 418, 100 }), 0.2);

    DesktopDriver::click (DesktopDriver::centreOf (aboutContent->getVersionLabel()));
    MessageLoop::runFor (300);
    EXPECT_NE (app.getAboutWindow(), nullptr);
    DesktopDriver::click (aboutContent->getScreenPosition() + juce::Point<int> (30, 30));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return app.getAboutWindow() == nullptr; }, 3000));

    // With the main window gone, Bring to Front builds a new one on the queue that was left.
    const auto kept = RunningApplication::makeAudioFile (input.getFile().getChildFile ("kept sample.wav"), 0.2, 44100.0, 1);
    running.queue().addFile (kept);
    running.queue().setOutputName (0, "keeper");
    delete running.window();
    ASSERT_EQ (running.window(), nullptr);

    // Meanwhile Convert and Minimize are greyed; the other items are not.
    EXPECT_FALSE (itemsOf ("File")[0].enabled);
    EXPECT_TRUE (itemsOf ("File")[2].enabled);
    EXPECT_FALSE (itemsOf ("Window")[0].enabled);
    EXPECT_TRUE (itemsOf ("Window")[1].enabled);
    EXPECT_TRUE (itemsOf ("Help")[0].enabled && itemsOf ("Help")[2].enabled);

    ASSERT_TRUE (app.getCommandManager()->invokeDirectly (bringToFrontCommand, false));
    ASSERT_TRUE (running.waitForWindow());
    auto* editor = dynamic_cast<FileNameEditor*> (running.table().getCellComponent (3, 0));
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getTextEditor().getText(), "keeper");
    EXPECT_EQ (running.table().getCellComponent (3, 1), nullptr);
}
