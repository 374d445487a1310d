#pragma once

#include <functional>
#include <memory>
#include <juce_gui_basics/juce_gui_basics.h>

/** Answers modal dialogs from a test, through the real modal loop.

    While it exists, a timer on the message thread looks at the topmost modal
    component; each new one is handed to the answer function, which inspects
    it and ends it (for instance by clicking one of its buttons). The dialogs
    seen are recorded in order.
*/
class ModalDriver : private juce::Timer
{
public:
    struct Seen
    {
        juce::String title;        // the component's name: an AlertWindow's title
        juce::String description;  // an AlertWindow's "title. message"
        juce::StringArray buttons; // button texts, left to right
    };

    using Answer = std::function<void (juce::Component& modal, const Seen& seen)>;

    explicit ModalDriver (Answer answer);
    ~ModalDriver() override;

    const juce::Array<Seen>& getSeen() const noexcept { return seen; }

    /** Clicks the button of that text inside the component; false if none. */
    static bool clickButton (juce::Component& modal, const juce::String& text);

    /** The texts of the component's buttons, sorted left to right. */
    static juce::StringArray getButtonTexts (juce::Component& modal);

    /** The first child component of that type, searched recursively. */
    template <typename Type>
    static Type* findChild (juce::Component& parent)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* found = dynamic_cast<Type*> (child))
                return found;

            if (auto* found = findChild<Type> (*child))
                return found;
        }

        return nullptr;
    }

private:
    void timerCallback() override;

    Answer answer;
    juce::Array<Seen> seen;
    juce::Component::SafePointer<juce::Component> lastAnswered;
    std::shared_ptr<int> aliveToken = std::make_shared<int> (0);   // for callbacks that outlive the driver
};
