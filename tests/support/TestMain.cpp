#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// One framework initialiser per test process; the tests run on the message thread.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // The process counts as a standalone application, as the real one does: the
    // X11 layer then initialises Xlib for threads and installs its error handlers.
    juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };

    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
