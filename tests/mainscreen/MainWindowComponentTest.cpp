#include <gtest/gtest.h>

#include "BinaryData.h"
#include "conversion/ConverterController.h"
#include "filelist/DragDrop.h"
#include "filelist/DragDropArea.h"
#include "filelist/DragDropTableModel.h"
#include "filelist/FileQueue.h"
#include "mainscreen/MainWindowComponent.h"
#include "mainscreen/TypefaceResolver.h"
#include "support/MessageLoop.h"
#include "support/TemporaryFolder.h"

namespace
{
    struct MessageRecorder : public juce::ActionListener
    {
        void actionListenerCallback (const juce::String& message) override { messages.add (message); }
        juce::StringArray messages;
    };

    // The component as the main window holds it, 420 x 696. The controller
    // answers on a bus of its own, so that only this component's messages
    // travel on the bus under test.
    struct MainScreen : public ::testing::Test
    {
        MainScreen()
        {
            auto area = std::make_unique<DragDropArea> (new DragDropTableModel (&queue));
            dropArea = area.get();
            auto list = std::make_unique<juce::TextEditor> (juce::String(), (juce::juce_wchar) 0);
            controller = std::make_unique<ConverterController> (queue, *list, progress, controllerBus);
            component = std::make_unique<MainWindowComponent> (std::move (area), std::make_unique<juce::ProgressBar> (progress),
                                                               std::move (list), bus, *controller);
            bus.addActionListener (component.get());
            bus.addActionListener (&recorder);
            component->setSize (420, 696);
        }

        ~MainScreen() override
        {
            bus.removeAllActionListeners();
            component.reset();
            controller.reset();
        }

        juce::File audioFile (const juce::String& name)
        {
            return folder.createFile (name, juce::MemoryBlock ("RIFF", 4));
        }

        TemporaryFolder folder { "orvo-main-screen" };
        FileQueue queue;
        double progress = 0.0;
        juce::ActionBroadcaster bus, controllerBus;
        MessageRecorder recorder;
        DragDropArea* dropArea = nullptr;
        std::unique_ptr<ConverterController> controller;
        std::unique_ptr<MainWindowComponent> component;
    };
}

TEST_F (MainScreen, LayoutStackingAndStyles)
{
    auto& c = *component;
    EXPECT_EQ (dropArea->getBounds(), juce::Rectangle<int> (16, 100, 389, 278));
    EXPECT_EQ (c.getConvertButton().getBounds(), juce::Rectangle<int> (290, 379, 117, 38));
    EXPECT_EQ (c.getProgressBar().getBounds(), juce::Rectangle<int> (16, 440, 389, 25));
    EXPECT_EQ (c.getConvertedFilesList().getBounds(), juce::Rectangle<int> (16, 508, 383, 169));
    EXPECT_EQ (c.getProgressLabel().getBounds(), juce::Rectangle<int> (16, 470, 389, 15));
    EXPECT_EQ (c.getConvertedFilesLabel().getBounds(), juce::Rectangle<int> (16, 485, 389, 25));
    EXPECT_EQ (c.getClearAllButton().getBounds(), juce::Rectangle<int> (27, 379, 13, 13));
    EXPECT_EQ (c.getClearAllButton().getName(), "Clear All");

    // Added in this order, the last on top: the heading lies over the list.
    const juce::Array<juce::Component*> order { dropArea, &c.getConvertButton(), &c.getProgressBar(), &c.getConvertedFilesList(),
                                                &c.getConvertedFilesLabel(), &c.getProgressLabel(), &c.getClearAllButton() };
    EXPECT_EQ (juce::Array<juce::Component*> (c.getChildren().begin(), c.getChildren().size()), order);

    const auto helvetica = TypefaceResolver::resolveFamily ("Helvetica");
    auto& heading = c.getConvertedFilesLabel();
    EXPECT_EQ (heading.getText(), "CONVERTED FILES");
    EXPECT_EQ (heading.getFont().getTypefaceName(), helvetica);
    EXPECT_EQ (heading.getFont().getHeight(), 16.0f);
    EXPECT_FALSE (heading.getFont().isItalic());
    EXPECT_EQ (heading.getJustificationType(), juce::Justification (juce::Justification::centred));
    auto& caption = c.getProgressLabel();
    EXPECT_EQ (caption.getText(), "Progress");
    EXPECT_EQ (caption.getFont().getTypefaceName(), helvetica);
    EXPECT_EQ (caption.getFont().getHeight(), 11.0f);
    EXPECT_TRUE (caption.getFont().isItalic());
    EXPECT_EQ (caption.getJustificationType(), juce::Justification (juce::Justification::left));
    for (auto* label : { &heading, &caption })
    {
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xff858585));
        EXPECT_FALSE (label->isEditableOnSingleClick() || label->isEditableOnDoubleClick());
    }

    auto& list = c.getConvertedFilesList();
    EXPECT_TRUE (list.isReadOnly());
    EXPECT_TRUE (list.isMultiLine());
    EXPECT_FALSE (list.isCaretVisible());
    EXPECT_EQ (list.findColour (juce::TextEditor::backgroundColourId), juce::Colour (0x00ffffff));
    EXPECT_EQ (c.getProgressBar().findColour (juce::ProgressBar::backgroundColourId), juce::Colour (0xffd3d3d3));

    // Painted: the background, the list's panel and the black caption beside the X.
    const auto image = c.createComponentSnapshot (c.getLocalBounds(), false);
    const auto panel = juce::ImageCache::getFromMemory (BinaryData::Orvo_ConvertedFilesBackground_png,
                                                        BinaryData::Orvo_ConvertedFilesBackground_pngSize);
    EXPECT_EQ (image.getPixelAt (16 + 190, 508 + 160), panel.getPixelAt (190, 160));
    int black = 0;
    for (int y = 379; y < 392; ++y)
        for (int x = 40; x < 100; ++x)
            if (image.getPixelAt (x, y).getBrightness() < 0.2f)
                ++black;
    EXPECT_GT (black, 30);
    for (int y = 379; y < 392; ++y)
        EXPECT_GT (image.getPixelAt (39 + 70, y).getBrightness(), 0.5f);   // past the caption's end
}

TEST_F (MainScreen, ButtonsSendTheirMessagesAndFollowTheBatch)
{
    auto& convert = component->getConvertButton();
    auto& clearAll = component->getClearAllButton();

    // The press itself changes nothing; the message coming back does.
    convert.triggerClick();
    EXPECT_TRUE (convert.isEnabled());
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return recorder.messages.contains ("Convert"); }));
    EXPECT_EQ (recorder.messages, juce::StringArray ("Convert"));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! convert.isEnabled(); }));
    EXPECT_FALSE (clearAll.isEnabled());

    // Any other text, the empty one included, changes no button.
    for (auto text : { "", "convert", "Convert ", "Clear All", "Abort" })
    {
        bus.sendActionMessage (text);
        MessageLoop::runFor (30);
        EXPECT_FALSE (convert.isEnabled()) << text;
    }

    bus.sendActionMessage ("Conversion Complete");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return convert.isEnabled() && clearAll.isEnabled(); }));

    // The X sends "Clear All", which the controller (listening here) obeys.
    queue.addFile (audioFile ("a.wav"));
    ASSERT_EQ (queue.getNumEntries(), 1);
    recorder.messages.clear();
    clearAll.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return queue.getNumEntries() == 0; }));
    EXPECT_EQ (recorder.messages, juce::StringArray ("Clear All"));
    EXPECT_TRUE (convert.isEnabled());
}

TEST_F (MainScreen, EveryMessageRefreshesTheTable)
{
    // The area is not the queue's listener here, so only a message refreshes it.
    queue.addFile (audioFile ("a.wav"));
    queue.addFile (audioFile ("b.wav"));
    auto& table = dropArea->getTable();
    EXPECT_EQ (table.getCellComponent (3, 1), nullptr);

    bus.sendActionMessage ("something else");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return table.getCellComponent (3, 1) != nullptr; }));
    EXPECT_EQ (table.getCellComponent (3, 2), nullptr);
}
