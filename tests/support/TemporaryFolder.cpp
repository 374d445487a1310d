#include "TemporaryFolder.h"

TemporaryFolder::TemporaryFolder (const juce::String& prefix)
{
    // A random part keeps test processes that run at the same time apart: the
    // search for a free name and the creation are not one step.
    folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                 .getNonexistentChildFile (prefix + "-" + juce::Uuid().toString().substring (0, 12), {}, false);
    folder.createDirectory();
}

TemporaryFolder::~TemporaryFolder()
{
    // Read-only leftovers of a test must not keep the folder alive.
    for (auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, true, "*"))
        f.setReadOnly (false);

    folder.setReadOnly (false, true);
    folder.deleteRecursively();
}

juce::File TemporaryFolder::createFile (const juce::String& relativePath, const juce::MemoryBlock& bytes) const
{
    auto file = folder.getChildFile (relativePath);
    file.getParentDirectory().createDirectory();
    file.replaceWithData (bytes.getData(), bytes.getSize());
    return file;
}
