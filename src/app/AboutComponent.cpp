#include "AboutComponent.h"

#include "AboutWindow.h"
#include "ApplicationConstants.h"

const juce::String AboutComponent::firstLegalLine (juce::CharPointer_UTF8 ("Copyright \xc2\xa9 2026 Quillon. All rights reserved."));
const juce::String AboutComponent::secondLegalLine ("Free software under the GNU General Public License v3.0.");

AboutComponent::AboutComponent (juce::Image& picture)
    : image (picture)
{
    versionLabel = std::make_unique<juce::Label> ("new label", "Version: " + applicationVersion);
    addAndMakeVisible (*versionLabel);
    versionLabel->setFont (juce::Font (15.0f, juce::Font::plain));
    versionLabel->setJustificationType (juce::Justification::centred);
    versionLabel->setEditable (false, false, false);
    versionLabel->setColour (juce::TextEditor::textColourId, juce::Colours::black);
    versionLabel->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));

    // The framework's default look draws label text in white, which the
    // light picture would swallow.
    versionLabel->setColour (juce::Label::textColourId, juce::Colours::black);
}

AboutComponent::~AboutComponent() = default;

void AboutComponent::mouseUp (const juce::MouseEvent&)
{
    // The framework's mouse dispatch notices that the window went away.
    if (auto* window = findParentComponentOfClass<AboutWindow>())
        delete window;
}

void AboutComponent::resized()
{
    versionLabel->setBounds (0, getHeight() / 2, getWidth(), textHeight);
}

void AboutComponent::paint (juce::Graphics& g)
{
    g.drawImage (image, 0, 0, getWidth(), getHeight(), 0, 0, image.getWidth(), image.getHeight());

    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (15.0f, juce::Font::plain));
    g.drawText (firstLegalLine, 0, firstLegalLineY, getWidth(), textHeight, juce::Justification::centred, true);

    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (15.0f, juce::Font::plain));
    g.drawText (secondLegalLine, 0, secondLegalLineY, getWidth(), textHeight, juce::Justification::centred, true);
}
