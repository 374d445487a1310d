#include "filelist/RemoveButton.h"

#include "BinaryData.h"
#include "filelist/DragDropTableModel.h"
#include "filelist/FileQueue.h"

RemoveButton::RemoveButton (DragDropTableModel& ownerModel)
    : owner (ownerModel)
{
    auto image = [] { return juce::ImageCache::getFromMemory (BinaryData::Orvo_Xbutton_png, BinaryData::Orvo_Xbutton_pngSize); };
    const juce::Colour noOverlay (0x00000000);

    button.setImages (false, false, true,
                      image(), 1.0f, noOverlay,
                      image(), 1.0f, noOverlay,
                      image(), 1.0f, noOverlay,
                      0.0f);
    button.addListener (this);
    addAndMakeVisible (button);
}

RemoveButton::~RemoveButton() = default;

void RemoveButton::resized()
{
    button.setBoundsInset (juce::BorderSize<int> (2));
}

void RemoveButton::buttonClicked (juce::Button* clicked)
{
    if (clicked != &button)
        return;

    // The refresh that follows may delete this very component (the last row's
    // cells go), so nothing of it is touched after the call.
    owner.fileQueue->removeEntry (row);
}
