#include "DocumentLauncher.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

const char* const DocumentLauncher::launcherProgram = "xdg-open";

bool DocumentLauncher::openDocument (const juce::File& document)
{
    const auto path = document.getFullPathName().toStdString();

    // Fork twice so that the viewer is adopted by init and never lingers as
    // a zombie of ours; the intermediate child is reaped at once.
    const auto child = fork();

    if (child < 0)
        return false;

    if (child == 0)
    {
        const auto grandChild = fork();

        if (grandChild == 0)
        {
            setsid();
            const char* const args[] = { launcherProgram, path.c_str(), nullptr };
            execvp (launcherProgram, const_cast<char* const*> (args));
            _exit (127);
        }

        _exit (grandChild < 0 ? 1 : 0);
    }

    int status = 0;

    while (waitpid (child, &status, 0) < 0 && errno == EINTR)
        ;

    return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}
