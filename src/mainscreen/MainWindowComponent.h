#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class ConverterController;
class DragDropArea;

/** The whole content of the main window: the drop area with the file table,
    the Convert button, the small X button captioned "Clear All", the batch
    progress bar captioned "Progress" and the list of converted files under
    "CONVERTED FILES", over the background artwork.

    Its buttons only send "Convert" and "Clear All" on the application's
    broadcaster; they are disabled from "Convert" until "Conversion Complete"
    comes back. Every message also refreshes the file table.
*/
class MainWindowComponent : public juce::Component,
                            public juce::Button::Listener,
                            public juce::ActionListener
{
public:
    /** Takes ownership of the drop area, the progress bar and the list, and
        adds the controller to the broadcaster's listeners. */
    MainWindowComponent (std::unique_ptr<DragDropArea> dropArea,
                         std::unique_ptr<juce::ProgressBar> progressBar,
                         std::unique_ptr<juce::TextEditor> convertedFilesList,
                         juce::ActionBroadcaster& broadcaster,
                         ConverterController& controller);
    ~MainWindowComponent() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void actionListenerCallback (const juce::String& message) override;

    DragDropArea& getDropArea() noexcept                 { return *dropArea; }
    juce::ImageButton& getConvertButton() noexcept       { return convertButton; }
    juce::ImageButton& getClearAllButton() noexcept      { return clearAllButton; }
    juce::ProgressBar& getProgressBar() noexcept         { return *progressBar; }
    juce::TextEditor& getConvertedFilesList() noexcept   { return *convertedFilesList; }
    juce::Label& getConvertedFilesLabel() noexcept       { return convertedFilesLabel; }
    juce::Label& getProgressLabel() noexcept             { return progressLabel; }

    static const juce::Colour labelColour;

private:
    juce::Image backgroundImage;
    ConverterController* controller;
    juce::ActionBroadcaster* broadcaster;
    std::unique_ptr<DragDropArea> dropArea;
    juce::Image convertNormalImage;
    juce::Image convertDownImage;
    juce::Image convertOverImage;
    juce::Image convertedFilesBackgroundImage;
    juce::ImageButton convertButton;
    std::unique_ptr<juce::ProgressBar> progressBar;
    std::unique_ptr<juce::TextEditor> convertedFilesList;
    juce::Label convertedFilesLabel;
    juce::Label progressLabel;
    juce::ImageButton clearAllButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindowComponent)
};
