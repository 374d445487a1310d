#include "ApplicationIcon.h"

#include "BinaryData.h"

juce::Image ApplicationIcon::get()
{
    const auto full = juce::ImageCache::getFromMemory (BinaryData::Orvo_Icon_png, BinaryData::Orvo_Icon_pngSize);

    if (! full.isValid())
        return {};

    return full.rescaled (size, size, juce::Graphics::highResamplingQuality);
}

void ApplicationIcon::applyTo (juce::Component& window)
{
    if (auto* peer = window.getPeer())
        if (const auto icon = get(); icon.isValid())
            peer->setIcon (icon);
}
