#include "mainscreen/CustomLook.h"

const juce::Colour CustomLook::barTop    { 0xffc51530 };
const juce::Colour CustomLook::barMiddle { 0xffcb294f };
const juce::Colour CustomLook::barBottom { 0xff9e0414 };

void CustomLook::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                                   bool isMouseOverButton, bool isButtonDown)
{
    const auto height = (float) button.getHeight();
    const auto fontSize = juce::jmin (15.0f, height * 0.75f);
    const auto tickWidth = fontSize * 1.1f;

    drawTickBox (g, button, 4.0f, (height - tickWidth) * 0.5f, tickWidth, tickWidth,
                 button.getToggleState(), button.isEnabled(), isMouseOverButton, isButtonDown);

    if (! button.isEnabled())
        g.setOpacity (0.5f);

    // No colour or font is set: the text keeps the black left by the tick box
    // and the context's current font.
    const auto textX = (int) tickWidth + 5;
    g.drawFittedText (button.getButtonText(), textX, 0, button.getWidth() - textX - 2, button.getHeight(),
                      juce::Justification::centredLeft, 10, 0.7f);
}

void CustomLook::drawTickBox (juce::Graphics& g, juce::Component&,
                              float, float, float w, float h,
                              bool ticked, bool, bool, bool)
{
    g.setColour (juce::Colours::black);
    g.drawRect (juce::Rectangle<float> (0.0f, 0.0f, w, h), 1.0f);

    if (ticked)
    {
        g.setColour (juce::Colours::black);
        g.drawLine (0.0f, 0.0f, w, h, 1.0f);
        g.drawLine (0.0f, h, w, 0.0f, 1.0f);
    }
}

void CustomLook::drawProgressBar (juce::Graphics& g, juce::ProgressBar& bar,
                                  int width, int height, double progress,
                                  const juce::String& textToShow)
{
    g.fillAll (bar.findColour (juce::ProgressBar::backgroundColourId));

    // Values outside 0..1 (the framework's "busy" value) draw no bar and no animation.
    if (progress >= 0.0 && progress <= 1.0)
    {
        juce::ColourGradient gradient (barTop, 0.0f, 0.0f, barMiddle, 0.0f, (float) height, false);
        gradient.addColour (0.0, barTop);
        gradient.addColour (0.3, barMiddle);
        gradient.addColour (1.0, barBottom);
        g.setGradientFill (gradient);

        const double available = width - 2;
        const double wanted = available * progress;
        const double length = wanted < 0.0 ? 0.0 : (wanted > available ? available : wanted);

        g.fillRect (juce::Rectangle<float> (1.0f, 1.0f, (float) length, (float) (height - 2)));
    }

    if (textToShow.isNotEmpty())
    {
        g.setColour (juce::Colours::black);
        g.setFont (g.getCurrentFont().withHeight ((float) height * 0.6f));
        g.drawText (textToShow, 0, 0, width, height, juce::Justification::centred, false);
    }
}
