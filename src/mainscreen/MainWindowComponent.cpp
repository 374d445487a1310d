#include "MainWindowComponent.h"

#include "BinaryData.h"
#include "app/MessageType.h"
#include "conversion/ConverterController.h"
#include "filelist/DragDropArea.h"
#include "mainscreen/TypefaceResolver.h"

const juce::Colour MainWindowComponent::labelColour (0xff858585);

namespace
{
    juce::Image xButtonImage()
    {
        return juce::ImageCache::getFromMemory (BinaryData::Orvo_Xbutton_png, BinaryData::Orvo_Xbutton_pngSize);
    }
}

MainWindowComponent::MainWindowComponent (std::unique_ptr<DragDropArea> area,
                                          std::unique_ptr<juce::ProgressBar> bar,
                                          std::unique_ptr<juce::TextEditor> list,
                                          juce::ActionBroadcaster& bus,
                                          ConverterController& converterController)
    : controller (&converterController),
      broadcaster (&bus),
      dropArea (std::move (area)),
      progressBar (std::move (bar)),
      convertedFilesList (std::move (list))
{
    jassert (dropArea != nullptr && progressBar != nullptr && convertedFilesList != nullptr);

    backgroundImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_Background_png, BinaryData::Orvo_Background_pngSize);
    convertNormalImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_ConvertButton_Off_png, BinaryData::Orvo_ConvertButton_Off_pngSize);
    convertDownImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_ConvertButton_Pressed_png, BinaryData::Orvo_ConvertButton_Pressed_pngSize);
    convertOverImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_ConvertButton_Hover_png, BinaryData::Orvo_ConvertButton_Hover_pngSize);
    convertedFilesBackgroundImage = juce::ImageCache::getFromMemory (BinaryData::Orvo_ConvertedFilesBackground_png,
                                                                     BinaryData::Orvo_ConvertedFilesBackground_pngSize);

    const juce::Colour noTint (0x00ffffff);
    convertButton.setImages (true, false, true,
                             convertNormalImage, 1.0f, noTint,
                             convertOverImage, 1.0f, noTint,
                             convertDownImage, 1.0f, noTint,
                             0.0f);
    convertButton.setSize (convertDownImage.getWidth(), convertDownImage.getHeight());
    convertButton.addListener (this);

    // Added in stacking order, the last on top.
    addAndMakeVisible (*dropArea);
    addAndMakeVisible (convertButton);
    addAndMakeVisible (*progressBar);

    progressBar->setColour (juce::ProgressBar::foregroundColourId, juce::Colour (0xff8b0000));
    progressBar->setColour (juce::ProgressBar::backgroundColourId, juce::Colour (0xffd3d3d3));

    broadcaster->addActionListener (controller);

    const juce::Colour transparent (0x00ffffff);
    convertedFilesList->setColour (juce::TextEditor::backgroundColourId, transparent);
    convertedFilesList->setColour (juce::TextEditor::shadowColourId, transparent);
    convertedFilesList->setColour (juce::TextEditor::focusedOutlineColourId, transparent);
    convertedFilesList->setReadOnly (true);
    convertedFilesList->setCaretVisible (false);
    convertedFilesList->setMultiLine (true, true);
    addAndMakeVisible (*convertedFilesList);

    convertedFilesLabel.setText ("CONVERTED FILES", juce::dontSendNotification);
    convertedFilesLabel.setEditable (false, false, false);
    convertedFilesLabel.setJustificationType (juce::Justification::centred);
    convertedFilesLabel.setFont (TypefaceResolver::getFont ("Helvetica", 16.0f, juce::Font::plain));
    convertedFilesLabel.setColour (juce::Label::textColourId, labelColour);
    addAndMakeVisible (convertedFilesLabel);

    progressLabel.setText ("Progress", juce::dontSendNotification);
    progressLabel.setEditable (false, false, false);
    progressLabel.setJustificationType (juce::Justification::left);
    progressLabel.setFont (TypefaceResolver::getFont ("Helvetica", 11.0f, juce::Font::italic));
    progressLabel.setColour (juce::Label::textColourId, labelColour);
    addAndMakeVisible (progressLabel);

    const auto x = xButtonImage();
    const juce::Colour clear (0x00000000);
    clearAllButton.setImages (false, true, true,
                              x, 1.0f, clear,
                              x, 1.0f, clear,
                              x, 1.0f, clear,
                              0.0f);
    clearAllButton.setName ("Clear All");
    clearAllButton.addListener (this);
    addAndMakeVisible (clearAllButton);
}

MainWindowComponent::~MainWindowComponent()
{
    broadcaster->removeActionListener (this);
}

void MainWindowComponent::resized()
{
    dropArea->setBounds (16, 100, dropArea->getWidth(), dropArea->getHeight());
    convertButton.setBounds (290, dropArea->getBottom() + 1, convertButton.getWidth(), convertButton.getHeight());
    progressBar->setBounds (16, 440, dropArea->getWidth(), 25);
    convertedFilesList->setBounds (progressBar->getX(), 508,
                                   convertedFilesBackgroundImage.getWidth(), convertedFilesBackgroundImage.getHeight());
    progressLabel.setBounds (progressBar->getX(), progressBar->getBottom() + 5, progressBar->getWidth(), 15);
    convertedFilesLabel.setBounds (16, convertedFilesList->getY() - 23, progressBar->getWidth(), progressBar->getHeight());

    const auto x = xButtonImage();
    clearAllButton.setBounds (dropArea->getX() + 11, dropArea->getBottom() + 1, x.getWidth(), x.getHeight());
}

void MainWindowComponent::paint (juce::Graphics& g)
{
    g.setColour (juce::Colours::black);
    g.drawImage (backgroundImage, 0, 0, getWidth(), getHeight(),
                 0, 0, backgroundImage.getWidth(), backgroundImage.getHeight());
    g.drawImageWithin (convertedFilesBackgroundImage, 16, 508,
                       convertedFilesBackgroundImage.getWidth(), convertedFilesBackgroundImage.getHeight(),
                       juce::RectanglePlacement::centred);
    g.drawText ("Clear All", clearAllButton.getRight(), clearAllButton.getY(), getWidth(), clearAllButton.getHeight(),
                juce::Justification::centredLeft, false);
}

void MainWindowComponent::buttonClicked (juce::Button* button)
{
    if (button == &convertButton)
        broadcaster->sendActionMessage (getMessageString (MessageType::convert));
    else if (button == &clearAllButton)
        broadcaster->sendActionMessage (getMessageString (MessageType::clearAll));
}

void MainWindowComponent::actionListenerCallback (const juce::String& message)
{
    if (message == getMessageString (MessageType::conversionComplete))
    {
        convertButton.setEnabled (true);
        clearAllButton.setEnabled (true);
    }
    else if (message == getMessageString (MessageType::convert))
    {
        convertButton.setEnabled (false);
        clearAllButton.setEnabled (false);
    }

    dropArea->refreshTable();
}
