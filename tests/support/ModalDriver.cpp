#include "ModalDriver.h"

ModalDriver::ModalDriver (Answer answerToUse)
    : answer (std::move (answerToUse))
{
    startTimer (20);
}

ModalDriver::~ModalDriver()
{
    stopTimer();
}

juce::StringArray ModalDriver::getButtonTexts (juce::Component& modal)
{
    juce::Array<juce::Button*> buttons;

    std::function<void (juce::Component&)> collect = [&] (juce::Component& c)
    {
        for (auto* child : c.getChildren())
        {
            if (auto* b = dynamic_cast<juce::TextButton*> (child))
                buttons.add (b);

            collect (*child);
        }
    };

    collect (modal);
    std::sort (buttons.begin(), buttons.end(),
               [] (juce::Button* a, juce::Button* b) { return a->getX() < b->getX(); });

    juce::StringArray texts;

    for (auto* b : buttons)
        texts.add (b->getButtonText());

    return texts;
}

bool ModalDriver::clickButton (juce::Component& modal, const juce::String& text)
{
    std::function<juce::Button* (juce::Component&)> find = [&] (juce::Component& c) -> juce::Button*
    {
        for (auto* child : c.getChildren())
        {
            if (auto* b = dynamic_cast<juce::TextButton*> (child))
                if (b->getButtonText() == text)
                    return b;

            if (auto* b = find (*child))
                return b;
        }

        return nullptr;
    };

    if (auto* button = find (modal))
    {
        button->triggerClick();
        return true;
    }

    return false;
}

void ModalDriver::timerCallback()
{
    auto& manager = *juce::ModalComponentManager::getInstance();
    const int count = manager.getNumModalComponents();

    if (count == 0)
        return;

    auto* modal = manager.getModalComponent (0);

    if (modal == nullptr || modal == lastAnswered.getComponent() || ! modal->isShowing())
        return;

    lastAnswered = modal;

    // A dialog object kept for reuse is shown again later: once this modal
    // session ends, it counts as a new dialog.
    juce::ModalComponentManager::getInstance()->attachCallback (
        modal, juce::ModalCallbackFunction::create ([this, alive = std::weak_ptr<int> (aliveToken)] (int)
        {
            if (! alive.expired())
                lastAnswered = nullptr;
        }));

    Seen s;
    s.title = modal->getName();
    s.description = modal->getDescription();
    s.buttons = getButtonTexts (*modal);
    seen.add (s);

    answer (*modal, s);
}
