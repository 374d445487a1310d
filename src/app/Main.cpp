#include "OrvoFileConversionUtilityApplication.h"

static juce::JUCEApplicationBase* createApplication()
{
    return new OrvoFileConversionUtilityApplication();
}

// The command line is ignored: the framework's start-up does the rest.
int main (int argc, char* argv[])
{
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
