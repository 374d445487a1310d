#pragma once

#include "FileQueueEntry.h"

/** The ordered list of input files waiting to be converted, each with its
    output name.

    The message thread adds, edits, removes and reads entries while the
    conversion worker takes and puts back entries, so every access to the
    entries is serialised by the queue's own lock. Listeners are always called
    with that lock released: they take the message-manager lock, and the
    message thread reads the queue while painting.
*/
class FileQueue
{
public:
    class FileQueueListener
    {
    public:
        virtual ~FileQueueListener() = default;

        /** Called after the queue changed, on the thread that changed it. */
        virtual void fileQueueChanged (FileQueue* queue) = 0;
    };

    FileQueue() = default;

    void addListener (FileQueueListener* listener);
    void removeAllListeners();

    void addFiles (const juce::StringArray& paths);
    void addFile (const juce::File& file);
    void addEntry (const FileQueueEntry& entry);
    FileQueueEntry takeFirst();

    juce::Array<FileQueueEntry> getEntries() const;
    int getNumEntries() const;
    juce::String getInputFileName (int index) const;
    juce::String getOutputName (int index) const;
    void setOutputName (int index, const juce::String& newName);
    void removeEntry (int index);
    void clear();

    /** Calls every listener, the last added first. */
    void notifyListeners();

    /** The default output name of an input file. */
    static juce::String makeOutputName (const juce::File& file);

    /** The name without the characters an output name may not hold, cut to 8 characters. */
    static juce::String makeLegalName (const juce::String& name);

    /** The extensions of the input formats, ".wav" and so on. */
    static const juce::StringArray& getAcceptedExtensions();

    /** The characters that makeLegalName removes. */
    static const juce::String legalNameCharacters;

    static constexpr int maxOutputNameLength = 8;

private:
    bool isQueued (const juce::String& path) const;
    void addFolderContents (const juce::File& folder);

    mutable juce::CriticalSection lock;
    juce::Array<FileQueueListener*> listeners;
    juce::Array<FileQueueEntry> entries;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileQueue)
};
