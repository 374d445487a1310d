#pragma once

#include <juce_core/juce_core.h>

/** A fresh folder below the system's temporary folder, deleted with its contents. */
class TemporaryFolder
{
public:
    explicit TemporaryFolder (const juce::String& prefix = "orvo-test");
    ~TemporaryFolder();

    const juce::File& getFile() const noexcept { return folder; }

    /** Creates a file of the given bytes (folders as needed) and returns it. */
    juce::File createFile (const juce::String& relativePath, const juce::MemoryBlock& bytes = {}) const;

private:
    juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (TemporaryFolder)
};
