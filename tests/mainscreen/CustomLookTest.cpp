#include <gtest/gtest.h>

#include "mainscreen/CustomLook.h"

namespace
{
const juce::Colour barBackground { 0xffd3d3d3 };

struct Rgb
{
    int r, g, b;
};

Rgb rgbAt (const juce::Image& image, int x, int y)
{
    const auto c = image.getPixelAt (x, y);
    return { c.getRed(), c.getGreen(), c.getBlue() };
}

void expectColour (const juce::Image& image, int x, int y, juce::Colour expected, int tolerance = 3)
{
    const auto got = rgbAt (image, x, y);
    EXPECT_NEAR (got.r, expected.getRed(), tolerance) << "red at " << x << "," << y;
    EXPECT_NEAR (got.g, expected.getGreen(), tolerance) << "green at " << x << "," << y;
    EXPECT_NEAR (got.b, expected.getBlue(), tolerance) << "blue at " << x << "," << y;
}

// The colour the gradient should have at a pixel row's centre: the first
// stop at the top, the second at 30 %, constant from there to the bottom.
juce::Colour gradientAtRow (int row, int height)
{
    const auto position = (row + 0.5) / height;

    if (position >= 0.3)
        return CustomLook::barMiddle;

    return CustomLook::barTop.interpolatedWith (CustomLook::barMiddle, (float) (position / 0.3));
}

class ProgressBarLook : public testing::Test
{
protected:
    ProgressBarLook()
    {
        bar.setColour (juce::ProgressBar::backgroundColourId, barBackground);
        bar.setSize (width, height);
    }

    juce::Image render (double progress, const juce::String& text = {})
    {
        juce::Image image (juce::Image::ARGB, width, height, true);
        juce::Graphics g (image);
        look.drawProgressBar (g, bar, width, height, progress, text);
        return image;
    }

    // The bounds of the text's ink: its near-black pixels.
    static juce::Rectangle<int> inkBounds (const juce::Image& image)
    {
        juce::Rectangle<int> bounds;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getBrightness() < 0.2f)
                    bounds = bounds.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1)
                                              : bounds.getUnion ({ x, y, 1, 1 });

        return bounds;
    }

    static constexpr int width = 389, height = 25;
    double value = 0.0;
    juce::ProgressBar bar { value };
    CustomLook look;
};

TEST_F (ProgressBarLook, HalfFillsOneToHalfTheInnerWidthWithAOnePixelFrame)
{
    const auto image = render (0.5);   // filled rectangle 1, 1, 193.5, 23

    // inside: the gradient, top row near the first stop, from 30 % on the second
    for (int row : { 1, 3, 7, 8, 12, 20, 23 })
        expectColour (image, 100, row, gradientAtRow (row, height));

    expectColour (image, 1, 12, gradientAtRow (12, height));
    expectColour (image, 193, 12, gradientAtRow (12, height));

    // the right edge at 194.5 covers half of column 194
    expectColour (image, 194, 12, barBackground.interpolatedWith (gradientAtRow (12, height), 0.5f), 6);

    // outside and the frame: background
    for (auto [x, y] : { std::pair { 195, 12 }, { 300, 12 }, { 388, 12 },
                         { 0, 12 }, { 100, 0 }, { 100, 24 }, { 0, 0 }, { 194, 24 } })
        expectColour (image, x, y, barBackground, 1);
}

TEST_F (ProgressBarLook, FullFillsTheInnerWidthAndLeavesTheRightFrame)
{
    const auto image = render (1.0);

    expectColour (image, 387, 12, gradientAtRow (12, height));
    expectColour (image, 388, 12, barBackground, 1);
    expectColour (image, 200, 0, barBackground, 1);
    expectColour (image, 200, 24, barBackground, 1);
}

TEST_F (ProgressBarLook, ZeroAndOutOfRangeDrawOnlyTheBackground)
{
    for (double progress : { 0.0, -1.0, 1.5 })
    {
        SCOPED_TRACE (progress);
        const auto image = render (progress);

        for (int x = 0; x < width; x += 7)
            for (int y = 0; y < height; y += 3)
                expectColour (image, x, y, barBackground, 1);
    }
}

TEST_F (ProgressBarLook, TextIsBlackCentredAndThreeFifthsOfTheHeight)
{
    const auto ink = inkBounds (render (0.0, "0%"));

    ASSERT_FALSE (ink.isEmpty());
    EXPECT_NEAR (ink.toFloat().getCentreX(), width / 2.0, 2.0);
    EXPECT_NEAR (ink.toFloat().getCentreY(), height / 2.0, 2.0);

    // a 15-pixel font: digit and percent sign ink about 11 pixels high
    EXPECT_GE (ink.getHeight(), 9);
    EXPECT_LE (ink.getHeight(), 15);

    // drawn over the bar too, and without an animation when out of range
    EXPECT_FALSE (inkBounds (render (0.5, "50%")).isEmpty());
    EXPECT_FALSE (inkBounds (render (-1.0, "busy")).isEmpty());
}

class ToggleLook : public testing::Test
{
protected:
    ToggleLook()
    {
        toggle.setSize (150, 15);
        toggle.setLookAndFeel (&look);
    }

    ~ToggleLook() override { toggle.setLookAndFeel (nullptr); }

    juce::Image render()
    {
        juce::Image image (juce::Image::ARGB, 150, 15, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::white);
        toggle.paintEntireComponent (g, false);
        return image;
    }

    static float darkest (const juce::Image& image, juce::Rectangle<int> area)
    {
        float result = 1.0f;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                result = juce::jmin (result, image.getPixelAt (x, y).getBrightness());

        return result;
    }

    CustomLook look;
    juce::ToggleButton toggle { "Apply to All" };
};

TEST_F (ToggleLook, BoxSitsAtTheOriginWithAnXWhenOn)
{

    for (bool on : { false, true })
    {
        SCOPED_TRACE (on);
        toggle.setToggleState (on, juce::dontSendNotification);
        const auto image = render();

        // outline of 0, 0, 12.375, 12.375: full columns 0 and rows 0, the right
        // and bottom edges at 11.375..12.375
        EXPECT_LT (image.getPixelAt (0, 6).getBrightness(), 0.1f);
        EXPECT_LT (image.getPixelAt (6, 0).getBrightness(), 0.1f);
        EXPECT_LT (image.getPixelAt (11, 3).getBrightness(), 0.5f);
        EXPECT_LT (image.getPixelAt (3, 11).getBrightness(), 0.5f);
        EXPECT_GT (image.getPixelAt (13, 6).getBrightness(), 0.9f);  // nothing right of the box
        EXPECT_GT (image.getPixelAt (6, 13).getBrightness(), 0.9f);  // nor below it

        // the diagonals cross at the box's centre; off them the box is empty
        EXPECT_EQ (image.getPixelAt (6, 6).getBrightness() < 0.5f, on);
        EXPECT_EQ (image.getPixelAt (3, 3).getBrightness() < 0.5f, on);
        EXPECT_EQ (image.getPixelAt (3, 9).getBrightness() < 0.5f, on);
        EXPECT_GT (image.getPixelAt (6, 3).getBrightness(), 0.9f);
        EXPECT_GT (image.getPixelAt (3, 6).getBrightness(), 0.9f);
        EXPECT_GT (darkest (image, { 14, 0, 3, 15 }), 0.9f);     // gap before the text at x = 17
        EXPECT_LT (darkest (image, { 17, 0, 131, 15 }), 0.2f);   // the text, in black
        EXPECT_GT (darkest (image, { 148, 0, 2, 15 }), 0.9f);
    }
}

TEST_F (ToggleLook, DisabledDimsOnlyTheText)
{
    toggle.setToggleState (true, juce::dontSendNotification);
    toggle.setEnabled (false);
    const auto image = render();

    EXPECT_LT (image.getPixelAt (0, 6).getBrightness(), 0.1f);
    EXPECT_LT (image.getPixelAt (6, 6).getBrightness(), 0.3f);

    const auto text = darkest (image, { 17, 0, 131, 15 });
    EXPECT_GT (text, 0.4f);
    EXPECT_LT (text, 0.65f);
}
} // namespace
