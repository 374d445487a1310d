#include "filelist/DragDropArea.h"

#include "BinaryData.h"
#include "filelist/DragDropTableModel.h"

const juce::String DragDropArea::heading ("DROP SAMPLES HERE TO CONVERT");

namespace
{
    constexpr int imageTop = 10;
}

DragDropArea::DragDropArea (DragDropTableModel* model)
    : table (model)
{
    background = juce::ImageCache::getFromMemory (BinaryData::Orvo_DropSampleBackground_png,
                                                  BinaryData::Orvo_DropSampleBackground_pngSize);
    setSize (background.getWidth(), background.getHeight() + 20);
    configureTable();
    addAndMakeVisible (table);
}

DragDropArea::~DragDropArea() = default;

void DragDropArea::configureTable()
{
    table.setColour (juce::ListBox::outlineColourId, juce::Colours::grey);
    table.setColour (juce::ListBox::backgroundColourId, juce::Colours::transparentWhite);
    table.setOutlineThickness (0);

    // Widths from the table's size now; they are not recomputed later.
    const int width = table.getWidth();
    auto& header = table.getHeader();
    header.addColumn ("Remove File", 1, 15);
    header.addColumn ("Input File", 2, width / 2 - 23);
    header.addColumn (" ", 4, 20);
    header.addColumn ("Output File", 3, width / 2);

    table.getViewport()->setScrollBarsShown (true, false);
    table.setHeaderHeight (0);
    table.setModel (table.getTableModel());
}

void DragDropArea::paint (juce::Graphics& g)
{
    const juce::Colour grey (133, 133, 133);
    g.setColour (grey);
    g.drawImageAt (background, 0, imageTop, false);

    juce::Font font (18.0f, juce::Font::plain);
    font.setExtraKerningFactor (0.08f);
    g.setFont (font);
    g.drawText (heading, 0, 2, background.getWidth(), background.getWidth(),
                juce::Justification::centredTop, false);
}

void DragDropArea::resized()
{
    table.setBounds (10, 20, getWidth() - 15, getHeight() - 35);
}

void DragDropArea::fileQueueChanged (FileQueue*)
{
    refreshTable();
}

void DragDropArea::refreshTable()
{
    // On the message thread getCurrentThread is null and the lock is gained at
    // once; the conversion worker gives up here when it is asked to stop.
    const juce::MessageManagerLock lock (juce::Thread::getCurrentThread());

    if (! lock.lockWasGained())
        return;

    table.updateContent();

    // Rows keep their numbers when entries move up, so their painted names
    // would otherwise stay until something else repaints them.
    table.repaint();
}
