#include <gtest/gtest.h>

#include "BinaryData.h"
#include "app/AboutComponent.h"
#include "app/AboutWindow.h"
#include "support/MessageLoop.h"

TEST (AboutWindow, PictureVersionAndLegalLines)
{
    auto* window = new AboutWindow();   // deletes itself when clicked
    juce::Component::SafePointer<AboutWindow> alive (window);
    auto& content = *window->getAboutComponent();

    EXPECT_EQ (window->getBounds().getWidth(), 420);
    EXPECT_EQ (window->getBounds().getHeight(), 255);
    EXPECT_EQ (content.getBounds(), juce::Rectangle<int> (1, 1, 418, 253));
    EXPECT_TRUE (window->isAlwaysOnTop());
    EXPECT_FALSE (window->isResizable());
    EXPECT_FALSE (window->isUsingNativeTitleBar());

    auto& label = content.getVersionLabel();
    EXPECT_EQ (label.getName(), "new label");
    EXPECT_EQ (label.getText(), "Version: 1.0.6");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (0, 253 / 2, 418, 15));
    EXPECT_EQ (label.getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_FALSE (label.isEditable());
    EXPECT_EQ (label.findColour (juce::Label::textColourId), juce::Colours::black);   // readable on the picture

    // Two one-line notices of our own: the copyright and the licence.
    EXPECT_TRUE (AboutComponent::firstLegalLine.contains ("Copyright"));
    EXPECT_TRUE (AboutComponent::secondLegalLine.contains ("GNU General Public License v3.0"));

    // Drawn in black, centred, in the rows at 211 and 227.
    const auto image = content.createComponentSnapshot (content.getLocalBounds(), false);
    for (int top : { 211, 227 })
    {
        int left = image.getWidth(), right = 0;
        for (int y = top; y < top + 15; ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getBrightness() < 0.15f)
                {
                    left = std::min (left, x);
                    right = std::max (right, x);
                }
        ASSERT_LT (left, right) << top;
        EXPECT_NEAR ((left + right) / 2.0, image.getWidth() / 2.0, 4.0) << top;
        EXPECT_GT (left, 5) << "the line fits without an ellipsis";
    }

    // A click on the picture closes the window (the real click is in the end-to-end test).
    const auto now = juce::Time::getCurrentTime();
    content.mouseUp (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { 30.0f, 30.0f }, {},
                                       0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &content, &content, now, { 30.0f, 30.0f }, now, 1, false));
    EXPECT_EQ (alive, nullptr);
}
