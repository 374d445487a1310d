#include "FileQueue.h"

const juce::String FileQueue::legalNameCharacters (" \"*+,/:;<=>?.\\[]|");

const juce::StringArray& FileQueue::getAcceptedExtensions()
{
    // The extensions of the five input formats: WAV, AIFF, FLAC, Ogg Vorbis and
    // the FFmpeg-based format that stands in for Windows Media.
    static const juce::StringArray extensions { ".wav", ".bwf",
                                                ".aiff", ".aif",
                                                ".flac",
                                                ".ogg",
                                                ".mp3", ".wmv", ".asf", ".wm", ".wma" };
    return extensions;
}

void FileQueue::addListener (FileQueueListener* listener)
{
    const juce::ScopedLock sl (lock);
    listeners.addIfNotAlreadyThere (listener);
}

void FileQueue::removeAllListeners()
{
    const juce::ScopedLock sl (lock);
    listeners.clear();
}

void FileQueue::addFiles (const juce::StringArray& paths)
{
    for (auto& path : paths)
    {
        const juce::File file (path);

        if (file.isDirectory())
            addFolderContents (file);
        else
            addFile (file);
    }
}

void FileQueue::addFolderContents (const juce::File& folder)
{
    // Depth first, each folder before its contents, as a recursive search
    // returns them; but a link to a folder is not entered, so that a link
    // back up the tree or to a large folder elsewhere cannot make a drop
    // queue the same files again and again or search the whole disk.
    for (auto& child : folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*"))
    {
        addFile (child);

        if (child.isDirectory() && ! child.isSymbolicLink())
            addFolderContents (child);
    }
}

void FileQueue::addFile (const juce::File& file)
{
    bool matches = false;

    for (auto& extension : getAcceptedExtensions())
        matches = matches || file.hasFileExtension (extension);

    if (! matches || ! file.existsAsFile())
        return;

    const auto path = file.getFullPathName();
    bool appended = false;

    {
        // The duplicate test and the append are one step, so that two threads
        // cannot both queue the same path.
        const juce::ScopedLock sl (lock);

        if (! isQueued (path))
        {
            entries.add ({ path, makeOutputName (file) });
            appended = true;
        }
    }

    if (appended)
        notifyListeners();   // the notification of the append itself

    notifyListeners();
}

bool FileQueue::isQueued (const juce::String& path) const
{
    for (auto& entry : entries)
        if (entry.inputPath.compare (path) == 0)
            return true;

    return false;
}

void FileQueue::addEntry (const FileQueueEntry& entry)
{
    {
        const juce::ScopedLock sl (lock);
        entries.add (entry);
    }

    notifyListeners();
}

FileQueueEntry FileQueue::takeFirst()
{
    FileQueueEntry first;

    {
        const juce::ScopedLock sl (lock);

        if (entries.isEmpty())
            return first;

        first = entries.getReference (0);
        entries.remove (0);
    }

    notifyListeners();
    return first;
}

juce::Array<FileQueueEntry> FileQueue::getEntries() const
{
    const juce::ScopedLock sl (lock);
    return entries;
}

int FileQueue::getNumEntries() const
{
    const juce::ScopedLock sl (lock);
    return entries.size();
}

juce::String FileQueue::getInputFileName (int index) const
{
    juce::String path;

    {
        const juce::ScopedLock sl (lock);

        if (! juce::isPositiveAndBelow (index, entries.size()))
            return {};

        path = entries.getReference (index).inputPath;
    }

    return juce::File::createFileWithoutCheckingPath (path).getFileName();
}

juce::String FileQueue::getOutputName (int index) const
{
    const juce::ScopedLock sl (lock);

    if (! juce::isPositiveAndBelow (index, entries.size()))
        return {};

    return entries.getReference (index).outputName;
}

void FileQueue::setOutputName (int index, const juce::String& newName)
{
    const auto legalName = makeLegalName (newName);

    {
        const juce::ScopedLock sl (lock);

        if (! juce::isPositiveAndBelow (index, entries.size()))
            return;

        entries.getReference (index).outputName = legalName;
    }

    notifyListeners();
}

void FileQueue::removeEntry (int index)
{
    {
        const juce::ScopedLock sl (lock);
        entries.remove (index);   // ignores an index out of range
    }

    notifyListeners();
}

void FileQueue::clear()
{
    {
        const juce::ScopedLock sl (lock);
        entries.clear();
    }

    notifyListeners();
}

void FileQueue::notifyListeners()
{
    int i;

    {
        const juce::ScopedLock sl (lock);
        i = listeners.size();
    }

    // The list may shrink while listeners run, so the index is clamped before
    // every call; the lock is never held during a call.
    while (--i >= 0)
    {
        FileQueueListener* listener = nullptr;

        {
            const juce::ScopedLock sl (lock);
            i = juce::jmin (i, listeners.size() - 1);

            if (i < 0)
                break;

            listener = listeners.getUnchecked (i);
        }

        listener->fileQueueChanged (this);
    }
}

juce::String FileQueue::makeOutputName (const juce::File& file)
{
    if (! file.exists())
        return {};

    return makeLegalName (file.getFileNameWithoutExtension());
}

juce::String FileQueue::makeLegalName (const juce::String& name)
{
    return name.removeCharacters (legalNameCharacters).substring (0, maxOutputNameLength);
}
