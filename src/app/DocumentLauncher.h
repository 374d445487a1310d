#pragma once

#include <juce_core/juce_core.h>

/** Opens a document with the desktop's associated viewer.

    The viewer is started as a detached child process that receives the path
    as one argument: no shell sees the path, so characters such as $ or a
    backquote in folder names are never executed.
*/
class DocumentLauncher
{
public:
    /** The program that opens documents; "xdg-open", looked up on PATH. */
    static const char* const launcherProgram;

    /** Starts the viewer for the document; true if the launcher could be started. */
    static bool openDocument (const juce::File& document);

private:
    DocumentLauncher() = delete;
};
