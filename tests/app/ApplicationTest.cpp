#include <gtest/gtest.h>

#include "app/ApplicationConstants.h"
#include "app/CommandIDs.h"
#include "app/MessageType.h"
#include "app/OrvoFileConversionUtilityApplication.h"
#include "support/MessageLoop.h"
#include "support/ModalDriver.h"
#include "support/TemporaryFolder.h"

#include <cstdlib>

namespace
{
    struct MessageRecorder : public juce::ActionListener
    {
        void actionListenerCallback (const juce::String& message) override { messages.add (message); }
        juce::StringArray messages;
    };

    // A home folder of its own whose Documents folder (by the XDG settings)
    // has shell metacharacters in its name, and a launcher double on PATH that
    // records the arguments it was given.
    struct ApplicationFixture : public ::testing::Test
    {
        ApplicationFixture()
        {
            oldHome = juce::SystemStats::getEnvironmentVariable ("HOME", {});
            oldPath = juce::SystemStats::getEnvironmentVariable ("PATH", {});

            documents = home.getFile().getChildFile ("Docs $(touch pwned) `touch pwned2`");
            documents.createDirectory();
            home.createFile (".config/user-dirs.dirs",
                             juce::MemoryBlock (juce::String ("XDG_DOCUMENTS_DIR=\"$HOME/" + documents.getFileName() + "\"\n").toRawUTF8(),
                                                (size_t) juce::String ("XDG_DOCUMENTS_DIR=\"$HOME/" + documents.getFileName() + "\"\n").getNumBytesAsUTF8()));

            auto bin = home.getFile().getChildFile ("bin");
            bin.createDirectory();
            record = home.getFile().getChildFile ("launched.txt");
            auto launcher = bin.getChildFile ("xdg-open");
            launcher.replaceWithText ("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" + record.getFullPathName() + "'\n", false, false, "\n");
            launcher.setExecutePermission (true);

            setenv ("HOME", home.getFile().getFullPathName().toRawUTF8(), 1);
            setenv ("PATH", (bin.getFullPathName() + ":" + oldPath).toRawUTF8(), 1);
            juce::File::getCurrentWorkingDirectory();

            app = std::make_unique<OrvoFileConversionUtilityApplication>();
            app->initialise ({});
        }

        ~ApplicationFixture() override
        {
            app->shutdown();
            app.reset();
            setenv ("HOME", oldHome.toRawUTF8(), 1);
            setenv ("PATH", oldPath.toRawUTF8(), 1);
        }

        juce::ApplicationCommandInfo info (juce::CommandID id)
        {
            juce::ApplicationCommandInfo result (id);
            app->getCommandInfo (id, result);
            return result;
        }

        void invoke (juce::CommandID id)
        {
            ASSERT_TRUE (app->getCommandManager()->invokeDirectly (id, false));
        }

        TemporaryFolder home { "orvo-home" };
        juce::File documents, record;
        juce::String oldHome, oldPath;
        std::unique_ptr<OrvoFileConversionUtilityApplication> app;
    };
}

TEST (MessageStrings, TheFourKindsAndNothingElse)
{
    EXPECT_EQ (getMessageString (MessageType::convert), "Convert");
    EXPECT_EQ (getMessageString (MessageType::conversionComplete), "Conversion Complete");
    EXPECT_EQ (getMessageString (MessageType::clearAll), "Clear All");
    EXPECT_EQ (getMessageString (MessageType::abort), "Abort");
    EXPECT_EQ (getMessageString (static_cast<MessageType> (4)), "");
    EXPECT_EQ (getMessageString (static_cast<MessageType> (-1)), "");
}

TEST_F (ApplicationFixture, CommandTable)
{
    EXPECT_EQ (app->getApplicationName(), "Orvo File Conversion Utility");
    EXPECT_EQ (app->getApplicationVersion(), "1.0.6");
    EXPECT_FALSE (app->moreThanOneInstanceAllowed());

    juce::Array<juce::CommandID> ids;
    app->getAllCommands (ids);
    EXPECT_EQ (ids, juce::Array<juce::CommandID> ({ 0x200040, 0x200060, 0x200410, 0x200420, 0x200510, 0x200050 }));

    struct Row { juce::CommandID id; const char* name; int key; };
    const Row rows[] = { { convertCommand, "Convert", 0 }, { quitCommand, "Quit", 'q' },
                         { aboutCommand, "About", 0 }, { minimizeCommand, "Minimize", 'm' },
                         { bringToFrontCommand, "Bring to Front", 0 }, { openUserGuideCommand, "Open User Guide", 0 } };

    for (auto& row : rows)
    {
        auto i = info (row.id);
        EXPECT_EQ (i.shortName, row.name);
        EXPECT_EQ (i.description, "");
        EXPECT_EQ (i.categoryName, "General");
        EXPECT_EQ (i.flags & ~juce::ApplicationCommandInfo::isDisabled, 0);
        EXPECT_EQ ((i.flags & juce::ApplicationCommandInfo::isDisabled) != 0, false) << row.name;

        if (row.key != 0)
        {
            ASSERT_EQ (i.defaultKeypresses.size(), 1);
            EXPECT_EQ (i.defaultKeypresses[0], juce::KeyPress (row.key, juce::ModifierKeys::commandModifier, 0));
            EXPECT_TRUE (app->getCommandManager()->getKeyMappings()->containsMapping (row.id, i.defaultKeypresses[0]));
        }
        else
        {
            EXPECT_TRUE (i.defaultKeypresses.isEmpty());
        }
    }

    juce::ApplicationCommandInfo untouched (0x123);
    app->getCommandInfo (0x123, untouched);
    EXPECT_EQ (untouched.shortName, "");

    juce::ApplicationCommandTarget::InvocationInfo unknown (0x123);
    EXPECT_TRUE (app->perform (unknown));
}

TEST_F (ApplicationFixture, ConvertSendsTheButtonsMessageAndWindowCommandsFollowTheWindow)
{
    MessageRecorder recorder;
    app->getActionBroadcaster().addActionListener (&recorder);
    EXPECT_EQ (app->getProgress(), 0.0);

    invoke (convertCommand);
    EXPECT_TRUE (recorder.messages.isEmpty());   // delivered asynchronously
    // The controller answers an empty queue with "Conversion Complete" at once.
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return recorder.messages.contains ("Conversion Complete"); }));
    EXPECT_EQ (recorder.messages[0], getMessageString (MessageType::convert));

    ASSERT_NE (app->getMainWindow(), nullptr);
    EXPECT_EQ (app->getMainWindow()->getName(), applicationName);
    invoke (minimizeCommand);
    MessageLoop::runUntil ([&] { return app->getMainWindow()->isMinimised(); }, 2000);

    // Without a main window, Convert and Minimize are inactive; Bring to Front builds a new one.
    auto* queue = app->getFileQueue();
    delete app->getMainWindow();
    EXPECT_EQ (app->getMainWindow(), nullptr);
    EXPECT_NE (info (convertCommand).flags & juce::ApplicationCommandInfo::isDisabled, 0);
    EXPECT_NE (info (minimizeCommand).flags & juce::ApplicationCommandInfo::isDisabled, 0);
    EXPECT_EQ (info (aboutCommand).flags & juce::ApplicationCommandInfo::isDisabled, 0);

    app->getActionBroadcaster().removeActionListener (&recorder);
    invoke (bringToFrontCommand);
    ASSERT_NE (app->getMainWindow(), nullptr);
    EXPECT_FALSE (app->getMainWindow()->isMinimised());
    EXPECT_EQ (app->getFileQueue(), queue);   // the queue survives the rebuild
}

TEST_F (ApplicationFixture, AboutOpensOneWindow)
{
    invoke (aboutCommand);
    auto* about = app->getAboutWindow();
    ASSERT_NE (about, nullptr);

    invoke (aboutCommand);
    EXPECT_EQ (app->getAboutWindow(), about);

    int aboutWindows = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        if (dynamic_cast<AboutWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)) != nullptr)
            ++aboutWindows;
    EXPECT_EQ (aboutWindows, 1);
}

TEST_F (ApplicationFixture, MissingGuideShowsTheMessageBoxWithTheFullPath)
{
    const auto expectedPath = documents.getChildFile ("Quillon/Orvo File Conversion Utility/Orvo File Conversion Utility - User Guide.pdf");
    ASSERT_EQ (OrvoFileConversionUtilityApplication::getUserGuideFile(), expectedPath);

    ModalDriver driver ([] (juce::Component& modal, const ModalDriver::Seen&) { ModalDriver::clickButton (modal, "OK"); });
    invoke (openUserGuideCommand);   // returns once the box is closed

    ASSERT_EQ (driver.getSeen().size(), 1);
    EXPECT_EQ (driver.getSeen()[0].title, "Orvo File Conversion Utility");
    EXPECT_EQ (driver.getSeen()[0].description,
               "Orvo File Conversion Utility. Unable to find User Guide." + expectedPath.getFullPathName());
    EXPECT_EQ (driver.getSeen()[0].buttons, juce::StringArray ("OK"));
    EXPECT_FALSE (record.exists());
}

TEST_F (ApplicationFixture, PresentGuideIsHandedToTheLauncherAsOneArgumentWithoutAShell)
{
    for (bool asFolder : { false, true })
    {
        record.deleteFile();
        auto guide = OrvoFileConversionUtilityApplication::getUserGuideFile();
        guide.getParentDirectory().createDirectory();
        guide.deleteRecursively();

        if (asFolder)
            guide.createDirectory();   // a folder of that name counts as found
        else
            guide.replaceWithText ("%PDF-1.4\n");

        invoke (openUserGuideCommand);
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return record.existsAsFile() && record.loadFileAsString().endsWithChar ('\n'); }, 5000));

        juce::StringArray lines;
        lines.addLines (record.loadFileAsString().trimEnd());
        ASSERT_EQ (lines.size(), 2);
        EXPECT_EQ (lines[0], "1");
        EXPECT_EQ (lines[1], guide.getFullPathName());
    }

    // Nothing of the folder names was run by a shell.
    EXPECT_FALSE (juce::File::getCurrentWorkingDirectory().getChildFile ("pwned").exists());
    EXPECT_FALSE (juce::File::getCurrentWorkingDirectory().getChildFile ("pwned2").exists());
    EXPECT_FALSE (home.getFile().getChildFile ("pwned").exists());
}
