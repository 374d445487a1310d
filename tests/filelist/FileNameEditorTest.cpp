#include <gtest/gtest.h>

#include "FileListFixture.h"
#include "app/MessageType.h"
#include "filelist/FileInputFilter.h"

namespace
{
    /** One queued file whose name cell is driven like a user would. */
    struct NameCell : public FileListFixture
    {
        explicit NameCell (const juce::String& storedName)
        {
            queueFiles ({ "Kick Drum 01.wav" });
            queue.setOutputName (0, storedName);
            settle();
        }

        juce::TextEditor& editor()  { return nameEditor (0)->getTextEditor(); }

        void type (const juce::String& text)
        {
            for (auto c : text)
                editor().keyPressed (juce::KeyPress (0, {}, c));
        }

        /** The queue and the editor agree once the change cycle has run out. */
        bool settledOn (const juce::String& name)
        {
            return MessageLoop::runUntil ([&] { return queue.getOutputName (0) == name && editor().getText() == name; }, 3000);
        }
    };
}

TEST (FileNameEditor, TypedAndPastedTextGoesThroughFilterAndQueue)
{
    struct Case
    {
        const char* what;
        const char* stored;
        bool selectAll;
        bool paste;
        const char* input;
        const char* shownAtOnce;
        const char* result;
    };
    const Case cases[] = {
        { "refused characters insert nothing", "Kick", false, false, "#@^\"/\\|?*<>:;,", "Kick", "Kick" },
        { "a space is shown, then removed by the queue", "Kick", false, false, " ", "Kick ", "Kick" },
        { "a dot is shown, then removed by the queue", "Kick", false, false, ".", "Kick.", "Kick" },
        { "a ninth character is cut by the queue", "KickDrum", false, false, "X", "KickDrumX", "KickDrum" },
        { "a paste over the whole name", "KickDrum", true, true, "a/b:c d.e#fghij", "abc d.ef", "abcdef" },
        { "typing over a selection replaces the name", "KickDrum", true, false, "Snare", "Snare", "Snare" },
        { "one space over the whole name leaves it empty", "KickDrum", true, false, " ", " ", "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        NameCell cell (c.stored);
        ASSERT_EQ (juce::String (c.stored), cell.editor().getText());

        if (c.selectAll)
            cell.editor().selectAll();
        else
            cell.editor().moveCaretToEnd();

        if (c.paste)
            cell.editor().insertTextAtCaret (c.input);  // what the editor's paste does with the clipboard text
        else
            cell.type (c.input);

        EXPECT_EQ (juce::String (c.shownAtOnce), cell.editor().getText());
        EXPECT_TRUE (cell.settledOn (c.result)) << "queue " << cell.queue.getOutputName (0) << ", editor " << cell.editor().getText();

        // Return and losing the focus commit nothing further.
        cell.editor().keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
        FileListFixture::settle();
        EXPECT_EQ (juce::String (c.result), cell.queue.getOutputName (0));
    }
}

TEST (FileNameEditor, DeletingTheWholeNameBringsItBack)
{
    NameCell cell ("KickDrum");
    cell.editor().selectAll();
    cell.editor().keyPressed (juce::KeyPress (juce::KeyPress::deleteKey));

    // Back as soon as the change is handled, without any refresh of the table.
    EXPECT_TRUE (MessageLoop::runUntil ([&] { return cell.editor().getText() == "KickDrum"; }));
    EXPECT_TRUE (cell.settledOn ("KickDrum"));
}

TEST (FileNameEditor, FilterRefusesFourteenCharactersAndCutsEachInsertion)
{
    FileInputFilter filter;
    juce::TextEditor editor;
    editor.setText ("already long text");

    EXPECT_EQ (14, FileInputFilter::refusedCharacters.length());
    EXPECT_EQ (juce::String(), filter.filterNewText (editor, FileInputFilter::refusedCharacters));
    EXPECT_EQ (juce::String ("a b.+=[]"), filter.filterNewText (editor, "a b.+=[]{}"));  // only removed later, by the queue
    EXPECT_EQ (juce::String::fromUTF8 ("\xc3\xa9t\xc3\xa9"), filter.filterNewText (editor, juce::String::fromUTF8 ("\xc3\xa9t\xc3\xa9")));
}

// During a batch the worker takes entries while a text change posted by the
// last refresh still waits; that change must not land on the entry that has
// moved into its row since.
TEST (FileNameEditor, ChangeFromARefreshDuringABatchDoesNotRenameAnotherEntry)
{
    FileListFixture f;
    f.queueFiles ({ "alpha.wav", "bravo.wav", "charlie.wav" });
    FileListFixture::settle();

    f.model().actionListenerCallback (getMessageString (MessageType::convert));
    FileListFixture::settle();

    f.queue.takeFirst();               // refreshed: row 0 now shows bravo, a change is posted
    ASSERT_EQ (juce::String ("bravo"), f.nameEditor (0)->getTextEditor().getText());

    f.queue.removeAllListeners();      // the next take's refresh is still waiting for the lock
    f.queue.takeFirst();
    FileListFixture::settle();

    ASSERT_EQ (1, f.queue.getNumEntries());
    EXPECT_EQ (juce::String ("charlie"), f.queue.getOutputName (0));
}
