#include <gtest/gtest.h>

#include "BinaryData.h"
#include "FileListFixture.h"
#include "app/MessageType.h"

namespace
{
    bool isDark (juce::Colour c)  { return c.getPerceivedBrightness() < 0.35f; }

    /** Dark pixels inside a rectangle of the picture. */
    int countDark (const juce::Image& image, juce::Rectangle<int> area)
    {
        int n = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                n += isDark (image.getPixelAt (x, y)) ? 1 : 0;
        return n;
    }

    /** The drop area as it appears in the main window: over the window's
        background at its place there (16, 100). */
    juce::Image render (DragDropArea& area)
    {
        juce::Image image (juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
        juce::Graphics g (image);
        g.drawImageAt (juce::ImageCache::getFromMemory (BinaryData::Orvo_Background_png, BinaryData::Orvo_Background_pngSize),
                       -16, -100);
        area.paintEntireComponent (g, false);
        return image;
    }

    void keepArtefact (const juce::Image& image, const juce::String& name)
    {
        auto file = juce::File::getCurrentWorkingDirectory().getChildFile (name);
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk());
        juce::PNGImageFormat().writeImageToStream (image, out);
    }

    constexpr int tableX = 10, tableY = 20, rowHeight = 22;
    const juce::String longName = "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH long input name.wav";
}

TEST (DropArea, ShowsThreeQueuedFilesAtThePanelGeometry)
{
    FileListFixture f;
    f.queueFiles ({ "Kick Drum 01.wav", longName, "snare.aif" });
    FileListFixture::settle();

    ASSERT_EQ (juce::Rectangle<int> (0, 0, 389, 278), f.area->getBounds());
    EXPECT_EQ (juce::Rectangle<int> (tableX, tableY, 374, 243), f.table().getBounds());
    EXPECT_EQ (rowHeight, f.table().getRowHeight());
    EXPECT_EQ (0, f.table().getHeaderHeight());
    EXPECT_EQ (0, f.table().getOutlineThickness());

    auto& header = f.table().getHeader();
    ASSERT_EQ (4, header.getNumColumns (true));
    const int ids[] = { 1, 2, 4, 3 }, widths[] = { 15, 164, 20, 187 };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (ids[i], header.getColumnIdOfIndex (i, true));
        EXPECT_EQ (widths[i], header.getColumnWidth (ids[i]));
    }

    for (int row = 0; row < 3; ++row)
    {
        SCOPED_TRACE (row);
        auto* button = f.removeButton (row);
        auto* editor = f.nameEditor (row);
        ASSERT_NE (nullptr, button);
        ASSERT_NE (nullptr, editor);
        EXPECT_EQ (row, button->row);
        EXPECT_EQ (row, editor->row);
        EXPECT_EQ (juce::Rectangle<int> (0, 0, 15, rowHeight), button->getBounds());
        EXPECT_EQ (juce::Rectangle<int> (2, 2, 11, 18), button->getButton().getBounds());
        EXPECT_EQ (juce::Rectangle<int> (199, 0, 187, rowHeight), editor->getBounds());
        EXPECT_EQ (juce::Rectangle<int> (2, 2, 183, 18), editor->getTextEditor().getBounds());
        EXPECT_EQ (f.queue.getOutputName (row), editor->getTextEditor().getText());
        EXPECT_TRUE (button->isEnabled());
        EXPECT_TRUE (editor->isEnabled());
    }
    EXPECT_EQ (juce::String ("KickDrum"), f.nameEditor (0)->getTextEditor().getText());
    EXPECT_EQ (nullptr, f.removeButton (3));
    EXPECT_EQ (nullptr, f.nameEditor (3));

    const auto image = render (*f.area);
    keepArtefact (image, "drop_area_three_files.png");

    // The heading, grey and not black, above and over the artwork's top edge.
    float darkest = 1.0f;
    for (int y = 0; y < 22; ++y)
        for (int x = 40; x < 350; ++x)
            darkest = juce::jmin (darkest, image.getPixelAt (x, y).getPerceivedBrightness());
    EXPECT_NEAR (133.0f / 255.0f, darkest, 0.12f);

    const int nameLeft = tableX + 15, nameRight = nameLeft + 164 - 5;  // the painted box is 5 short
    const int editorLeft = tableX + 199 + 2;

    for (int row = 0; row < 3; ++row)
    {
        SCOPED_TRACE (row);
        const int top = tableY + row * rowHeight;
        EXPECT_GT (countDark (image, { nameLeft, top, nameRight - nameLeft, rowHeight }), 20);
        // Nothing between the name's box and the editor: names are cut at the box.
        EXPECT_EQ (0, countDark (image, { nameRight, top, editorLeft - nameRight, rowHeight }));
        // The output name, in the look's text colour.
        EXPECT_GT (countDark (image, { editorLeft, top, 100, rowHeight }), 20);
        // The X sits in the middle of the first column.
        EXPECT_GT (countDark (image, { tableX + 2, top + 6, 11, 10 }), 10);
    }

    // The long name runs to the box's edge in full letters, not in dots on the
    // baseline, and its ink is centred in the row.
    const int top = tableY + rowHeight;
    int inkTop = rowHeight, inkBottom = -1;
    for (int y = 0; y < rowHeight; ++y)
        if (countDark (image, { nameLeft, top + y, nameRight - nameLeft, 1 }) > 0)
        {
            inkTop = juce::jmin (inkTop, y);
            inkBottom = juce::jmax (inkBottom, y);
        }
    ASSERT_LT (inkTop, inkBottom);
    EXPECT_LE (std::abs (inkTop - (rowHeight - 1 - inkBottom)), 5);
    EXPECT_GT (countDark (image, { nameRight - 9, top + inkTop, 9, (inkBottom - inkTop) / 2 }), 0);

    // No rows below the third.
    EXPECT_EQ (0, countDark (image, { tableX, tableY + 3 * rowHeight, 374, 243 - 3 * rowHeight }));
}

TEST (DropArea, EmptyQueueShowsTheArtworkAndHeadingOnly)
{
    FileListFixture f;
    f.area->refreshTable();

    EXPECT_EQ (0, f.model().getNumRows());
    EXPECT_EQ (nullptr, f.removeButton (0));

    const auto image = render (*f.area);
    keepArtefact (image, "drop_area_empty.png");
    EXPECT_EQ (0, countDark (image, f.table().getBounds()));
}

TEST (DropArea, RemoveButtonTakesItsRowOutOfTheQueue)
{
    struct Case { int files; int clicked; juce::StringArray remaining; };
    const Case cases[] = {
        { 3, 1, { "one.wav", "three.wav" } },  // the last entry moves up into the middle row
        { 3, 2, { "one.wav", "two.wav" } },    // the clicked button itself goes with its row
        { 1, 0, {} },                          // the last remaining row
    };
    const juce::StringArray names { "one.wav", "two.wav", "three.wav" };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.files) + " files, row " + juce::String (c.clicked));
        FileListFixture f;
        f.queueFiles ({ names.begin(), c.files });

        juce::Array<juce::Component::SafePointer<juce::Component>> cells;
        for (int row = 0; row < c.files; ++row)
            cells.add (f.removeButton (row), f.nameEditor (row));

        f.removeButton (c.clicked)->getButton().triggerClick();
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return f.queue.getNumEntries() == c.files - 1; }));
        FileListFixture::settle();

        juce::StringArray queued;
        for (auto& e : f.queue.getEntries())
            queued.add (juce::File (e.inputPath).getFileName());
        EXPECT_EQ (c.remaining, queued);

        // Rows keep their cells; each stands for the entry now in its row.
        for (int row = 0; row < c.files - 1; ++row)
        {
            EXPECT_EQ (cells[2 * row].getComponent(), f.removeButton (row));
            EXPECT_EQ (cells[2 * row + 1].getComponent(), f.nameEditor (row));
            EXPECT_EQ (row, f.removeButton (row)->row);
            EXPECT_EQ (row, f.nameEditor (row)->row);
            EXPECT_EQ (f.queue.getOutputName (row), f.nameEditor (row)->getTextEditor().getText());
        }

        // The row that disappeared lost its cells.
        EXPECT_EQ (nullptr, cells[2 * (c.files - 1)].getComponent());
        EXPECT_EQ (nullptr, cells[2 * (c.files - 1) + 1].getComponent());
    }
}

TEST (DropArea, BatchDisablesRowControlsAndRefusesDrops)
{
    FileListFixture f;
    f.queueFiles ({ "one.wav", "two.wav" });

    juce::ActionBroadcaster bus;
    bus.addActionListener (&f.model());

    const auto controlsEnabled = [&] (bool enabled)
    {
        for (int row = 0; row < 2; ++row)
            if (f.removeButton (row)->isEnabled() != enabled || f.nameEditor (row)->getTextEditor().isEnabled() != enabled)
                return false;
        return true;
    };
    const juce::StringArray drop { f.makeFile ("late.wav").getFullPathName() };

    EXPECT_TRUE (f.table().isInterestedInFileDrag (drop));

    bus.sendActionMessage (getMessageString (MessageType::convert));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return controlsEnabled (false); }));
    EXPECT_FALSE (f.table().isInterestedInFileDrag (drop));
    f.table().filesDropped (drop, 10, 10);
    EXPECT_EQ (2, f.queue.getNumEntries());

    // "Clear All" keeps the state but still refreshes: the taken entry's row goes.
    f.queue.removeAllListeners();
    f.queue.takeFirst();
    f.queue.addListener (f.area.get());
    bus.sendActionMessage (getMessageString (MessageType::clearAll));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return f.removeButton (1) == nullptr; }));
    EXPECT_TRUE (f.model().isConverting);
    EXPECT_FALSE (f.removeButton (0)->isEnabled());

    bus.sendActionMessage (getMessageString (MessageType::conversionComplete));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return f.removeButton (0)->isEnabled(); }));
    EXPECT_TRUE (f.nameEditor (0)->getTextEditor().isEnabled());
    EXPECT_TRUE (f.table().isInterestedInFileDrag (drop));
    f.table().filesDropped (drop, 10, 10);
    EXPECT_EQ (2, f.queue.getNumEntries());

    bus.removeAllActionListeners();
}

TEST (DropArea, DroppedFilesAndFoldersEnterTheQueueInDropOrder)
{
    FileListFixture f;
    const auto first = f.makeFile ("first.wav");
    const auto inFolder = f.folder.createFile ("Loops/Deep/loop.FLAC", juce::MemoryBlock ("x", 1));
    f.folder.createFile ("Loops/readme.txt", juce::MemoryBlock ("x", 1));
    const auto last = f.makeFile ("last.ogg");
    const auto text = f.makeFile ("notes.txt");

    juce::StringArray drop;
    drop.add (first.getFullPathName());
    drop.add (inFolder.getParentDirectory().getParentDirectory().getFullPathName());
    drop.add (text.getFullPathName());
    drop.add (last.getFullPathName());
    drop.add (f.folder.getFile().getChildFile ("missing.wav").getFullPathName());
    f.table().filesDropped (drop, 0, 0);

    juce::StringArray queued;
    for (auto& e : f.queue.getEntries())
        queued.add (e.inputPath);
    juce::StringArray expected;
    expected.add (first.getFullPathName());
    expected.add (inFolder.getFullPathName());
    expected.add (last.getFullPathName());
    EXPECT_EQ (expected, queued);

    // The table followed at once.
    for (int row = 0; row < 3; ++row)
        ASSERT_NE (nullptr, f.nameEditor (row));
    EXPECT_EQ (nullptr, f.nameEditor (3));
    EXPECT_EQ (juce::String ("loop"), f.nameEditor (1)->getTextEditor().getText());
}
