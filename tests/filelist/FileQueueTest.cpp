#include <gtest/gtest.h>

#include "filelist/FileQueue.h"
#include "support/TemporaryFolder.h"

namespace
{
    struct CountingListener : public FileQueue::FileQueueListener
    {
        void fileQueueChanged (FileQueue* q) override { ++calls; lastQueue = q; }
        int calls = 0;
        FileQueue* lastQueue = nullptr;
    };

    struct QueueFixture : public ::testing::Test
    {
        QueueFixture() { queue.addListener (&listener); }

        juce::File make (const juce::String& relativePath) { return folder.createFile (relativePath, juce::MemoryBlock ("x", 1)); }

        TemporaryFolder folder;
        FileQueue queue;
        CountingListener listener;
    };
}

TEST (FileQueueNames, OutputNamesOfTheExamples)
{
    TemporaryFolder folder;

    const std::pair<const char*, const char*> cases[] = {
        { "Kick Drum 01.wav", "KickDrum" },
        { "a.b.c.aif",        "abc" },
        { "[Loop]+=1.flac",   "Loop1" },
        { ".wav",             "wav" },
        { "+++.wav",          "" },
        { "#x@y^z.wav",       "#x@y^z" },
        { "\xc3\xa9t\xc3\xa9 long name.ogg", "\xc3\xa9t\xc3\xa9longn" },   // characters, not bytes
    };

    for (auto& [fileName, expected] : cases)
    {
        auto file = folder.createFile (juce::String::fromUTF8 (fileName), juce::MemoryBlock ("x", 1));
        EXPECT_EQ (FileQueue::makeOutputName (file), juce::String::fromUTF8 (expected)) << fileName;
    }

    EXPECT_EQ (FileQueue::makeOutputName (folder.getFile().getChildFile ("missing.wav")), "");
}

TEST (FileQueueNames, LegalNameRemovesEverySeventeenCharactersThenCuts)
{
    EXPECT_EQ (FileQueue::legalNameCharacters.length(), 17);
    EXPECT_EQ (FileQueue::makeLegalName (" \"*+,/:;<=>?.\\[]|"), "");
    EXPECT_EQ (FileQueue::makeLegalName ("my sample.txt"), "mysample");
    EXPECT_EQ (FileQueue::makeLegalName ("abcdefghijk"), "abcdefgh");
}

TEST_F (QueueFixture, AcceptsTheElevenExtensionsInAnyCaseAndNothingElse)
{
    juce::StringArray paths;

    for (auto& ext : { "wav", "BWF", "aiff", "Aif", "flac", "OGG", "mp3", "wmv", "asf", "wm", "WMA" })
        paths.add (make (juce::String ("s") + ext + "." + ext).getFullPathName());

    paths.add (make ("notes.txt").getFullPathName());
    paths.add (make ("wav").getFullPathName());                    // no extension, named wav
    paths.add (folder.getFile().getChildFile ("missing.wav").getFullPathName());

    queue.addFiles (paths);

    EXPECT_EQ (queue.getNumEntries(), 11);
    EXPECT_EQ (listener.calls, 22);   // two per appended file, none for a refused one
    EXPECT_EQ (queue.getOutputName (1), "sBWF");
    EXPECT_EQ (queue.getInputFileName (10), "sWMA.WMA");
}

TEST_F (QueueFixture, DuplicatesAreIgnoredButNotifyOnceAndCaseMatters)
{
    auto a = make ("Kick.wav");
    auto b = make ("kick.wav");

    queue.addFile (a);
    ASSERT_EQ (listener.calls, 2);

    queue.addFile (a);
    EXPECT_EQ (queue.getNumEntries(), 1);
    EXPECT_EQ (listener.calls, 3);
    EXPECT_EQ (listener.lastQueue, &queue);

    queue.addFile (b);
    EXPECT_EQ (queue.getNumEntries(), 2);
}

TEST_F (QueueFixture, FoldersAreSearchedRecursivelyWhereTheyStandInTheDrop)
{
    auto first = make ("first.wav");
    make ("dir/one.wav");
    make ("dir/sub/deeper/two.flac");
    make ("dir/sub/readme.txt");
    make ("dir/.hidden.aif");
    auto last = make ("last.ogg");

    queue.addFiles ({ first.getFullPathName(), folder.getFile().getChildFile ("dir").getFullPathName(), last.getFullPathName() });

    auto entries = queue.getEntries();
    ASSERT_EQ (entries.size(), 5);
    EXPECT_EQ (entries.getFirst().inputPath, first.getFullPathName());
    EXPECT_EQ (entries.getLast().inputPath, last.getFullPathName());

    juce::StringArray middle;
    for (int i = 1; i < 4; ++i)
        middle.add (juce::File (entries[i].inputPath).getFileName());
    middle.sort (false);
    EXPECT_EQ (middle.joinIntoString (","), ".hidden.aif,one.wav,two.flac");
}

TEST_F (QueueFixture, LinksToFoldersInADroppedFolderAreNotEntered)
{
    auto dir = folder.getFile().getChildFile ("dir");
    auto one = make ("dir/sub/one.wav");
    auto elsewhere = make ("elsewhere/far.wav");
    ASSERT_TRUE (dir.createSymbolicLink (dir.getChildFile ("sub/up"), true));
    ASSERT_TRUE (elsewhere.getParentDirectory().createSymbolicLink (dir.getChildFile ("away"), true));
    ASSERT_TRUE (elsewhere.createSymbolicLink (dir.getChildFile ("linked.wav"), true));

    queue.addFiles ({ dir.getFullPathName() });

    // one entry per file found by its own path; a linked file still counts
    juce::StringArray paths;
    for (auto& entry : queue.getEntries())
        paths.add (entry.inputPath);
    paths.sort (false);
    EXPECT_EQ (paths, juce::StringArray (dir.getChildFile ("linked.wav").getFullPathName(), one.getFullPathName()));
}

TEST_F (QueueFixture, OperationsOutOfRangeChangeNothing)
{
    queue.addFile (make ("a.wav"));
    listener.calls = 0;

    EXPECT_EQ (queue.getInputFileName (1), "");
    EXPECT_EQ (queue.getInputFileName (-1), "");
    EXPECT_EQ (queue.getOutputName (1), "");

    queue.setOutputName (1, "x");
    EXPECT_EQ (listener.calls, 0);

    queue.removeEntry (1);
    EXPECT_EQ (queue.getNumEntries(), 1);
    EXPECT_EQ (listener.calls, 1);   // removal out of range still notifies

    queue.setOutputName (0, "my sample.txt");
    EXPECT_EQ (queue.getOutputName (0), "mysample");
    EXPECT_EQ (listener.calls, 2);
}

TEST_F (QueueFixture, TakeFirstAddEntryAndClear)
{
    const auto empty = queue.takeFirst();
    EXPECT_TRUE (empty.inputPath.isEmpty() && empty.outputName.isEmpty());
    EXPECT_EQ (listener.calls, 0);

    queue.addFile (make ("a.wav"));
    queue.addFile (make ("b.wav"));
    listener.calls = 0;

    auto taken = queue.takeFirst();
    EXPECT_EQ (taken.outputName, "a");
    EXPECT_EQ (listener.calls, 1);

    queue.addEntry ({ taken.inputPath, "not legal +" });   // put back unchanged
    EXPECT_EQ (queue.getOutputName (1), "not legal +");
    EXPECT_EQ (queue.getOutputName (0), "b");

    queue.clear();
    EXPECT_EQ (queue.getNumEntries(), 0);
    EXPECT_EQ (listener.calls, 3);
}

namespace
{
    struct SelfRemovingListener : public FileQueue::FileQueueListener
    {
        void fileQueueChanged (FileQueue* q) override { ++calls; q->removeAllListeners(); }
        int calls = 0;
    };
}

TEST (FileQueueListeners, LastAddedFirstAndAShrinkingListIsTolerated)
{
    FileQueue queue;
    CountingListener first;
    SelfRemovingListener second;

    queue.addListener (&first);
    queue.addListener (&second);
    queue.addListener (&second);   // no duplicates

    queue.notifyListeners();
    EXPECT_EQ (second.calls, 1);
    EXPECT_EQ (first.calls, 0);    // removed by the listener called before it

    queue.notifyListeners();
    EXPECT_EQ (second.calls, 1);
}
