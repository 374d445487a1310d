#include "ConvertCommand.h"

#include <iostream>
#include <unistd.h>

namespace
{
    constexpr int barWidth = 30;

    juce::File resolve (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    void printError (const juce::String& text)
    {
        std::cerr << text << std::endl;
    }
}

ConvertCommand::ConvertCommand()
{
    converter.addListener (this);
}

ConvertCommand::~ConvertCommand() = default;

juce::String ConvertCommand::getUsage()
{
    return "Usage: orvo-convert [--output-dir DIR | -o DIR] [--overwrite | --skip-existing] [--dry-run] PATH...\n"
           "\n"
           "Converts audio files (.wav .bwf .aiff .aif .flac .ogg .mp3 .wmv .asf .wm .wma) into the\n"
           "sample player's format: 44100 Hz, 16-bit WAV, with the input's channels. Folders are\n"
           "searched recursively; each file is written to DIR/NAME.wav, NAME being its output name\n"
           "(at most 8 characters).\n"
           "\n"
           "  -o, --output-dir DIR  the folder to write into (it must exist)\n"
           "      --overwrite       replace existing output files\n"
           "      --skip-existing   keep existing output files and skip their inputs\n"
           "                        (with neither, ask on a terminal; skip without one)\n"
           "      --dry-run         list input, output file and whether it exists; convert nothing\n"
           "  -h, --help            show this help\n"
           "\n"
           "Exit status: 0 all converted or skipped, 1 some failed, 2 usage error, 130 interrupted.\n";
}

bool ConvertCommand::parseArguments (const juce::StringArray& arguments)
{
    bool optionsEnded = false;
    juce::String folder;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& arg = arguments[i];

        if (optionsEnded || ! arg.startsWith ("-") || arg == "-")
        {
            paths.add (arg);
        }
        else if (arg == "--")
        {
            optionsEnded = true;
        }
        else if (arg == "-h" || arg == "--help")
        {
            showHelp = true;
        }
        else if (arg == "-o" || arg == "--output-dir")
        {
            if (i + 1 >= arguments.size())
            {
                usageProblem = "option " + arg + " needs a folder";
                return false;
            }

            folder = arguments[++i];
        }
        else if (arg.startsWith ("--output-dir="))
        {
            folder = arg.fromFirstOccurrenceOf ("=", false, false);
        }
        else if (arg == "--overwrite" || arg == "--skip-existing")
        {
            const auto wanted = arg == "--overwrite" ? ExistingPolicy::overwrite : ExistingPolicy::skip;

            if (policy != ExistingPolicy::ask && policy != wanted)
            {
                usageProblem = "--overwrite and --skip-existing cannot be combined";
                return false;
            }

            policy = wanted;
        }
        else if (arg == "--dry-run")
        {
            dryRunOnly = true;
        }
        else
        {
            usageProblem = "unknown option " + arg;
            return false;
        }
    }

    if (showHelp)
        return true;

    if (folder.isEmpty())
        usageProblem = "no output folder (--output-dir DIR)";
    else if (! resolve (folder).isDirectory())
        usageProblem = "output folder " + folder + (resolve (folder).exists() ? " is not a folder" : " does not exist");
    else if (paths.isEmpty())
        usageProblem = "no PATH to convert";

    outputFolder = resolve (folder);
    return usageProblem.isEmpty();
}

int ConvertCommand::run (const juce::StringArray& arguments)
{
    if (! parseArguments (arguments))
    {
        printError ("orvo-convert: " + usageProblem + " (see orvo-convert --help)");
        return usageError;
    }

    if (showHelp)
    {
        std::cout << getUsage();
        return success;
    }

    // Exactly as a drop: the queue applies the extensions, the folder search,
    // the duplicates and the output names.
    juce::StringArray absolutePaths;

    for (auto& path : paths)
    {
        if (! resolve (path).exists())
            printError ("orvo-convert: " + path + " does not exist");

        absolutePaths.add (resolve (path).getFullPathName());
    }

    queue.addFiles (absolutePaths);

    if (queue.getNumEntries() == 0)
    {
        printError ("orvo-convert: no audio files to convert");
        return success;
    }

    return dryRunOnly ? dryRun() : convertAll();
}

int ConvertCommand::dryRun()
{
    for (auto& entry : queue.getEntries())
    {
        const auto output = outputFolder.getChildFile (entry.outputName + ".wav");
        std::cout << entry.inputPath << "\t" << output.getFileName() << "\t"
                  << (output.exists() ? "exists" : "new") << std::endl;
    }

    return success;
}

bool ConvertCommand::shouldWrite (const juce::File& output)
{
    if (! output.exists() || policy == ExistingPolicy::overwrite)
        return true;

    if (policy == ExistingPolicy::skip)
        return false;

    if (! isatty (STDIN_FILENO))
        return false;

    clearProgressBar();

    for (;;)
    {
        std::cerr << output.getFullPathName() << " exists. [o]verwrite, [s]kip, overwrite [a]ll, s[k]ip all? " << std::flush;
        std::string answer;

        if (! std::getline (std::cin, answer) || interruptRequested)
        {
            std::cerr << std::endl;
            policy = ExistingPolicy::skip;
            return false;
        }

        const auto choice = juce::String (answer).trim().toLowerCase();

        if (choice == "o" || choice == "overwrite")       return true;
        if (choice == "s" || choice == "skip")            return false;
        if (choice == "a" || choice == "overwrite all")   { policy = ExistingPolicy::overwrite; return true; }
        if (choice == "k" || choice == "skip all")        { policy = ExistingPolicy::skip; return false; }
    }
}

int ConvertCommand::convertAll()
{
    progressOnTerminal = isatty (STDERR_FILENO) != 0;
    numFiles = queue.getNumEntries();
    int converted = 0, skipped = 0, failed = 0;

    for (fileIndex = 0; fileIndex < numFiles && ! interruptRequested; ++fileIndex)
    {
        const auto entry = queue.takeFirst();
        const juce::File input (entry.inputPath);
        const auto output = outputFolder.getChildFile (entry.outputName + ".wav");

        if (! shouldWrite (output))
        {
            ++skipped;
            report ("Skipped " + input.getFullPathName() + " (" + output.getFullPathName() + " exists)");
            continue;
        }

        currentName = output.getFileName();
        fileProgress = 0.0;
        drawProgressBar();

        try
        {
            converter.convertFile (input, output);

            // Only a finished write reports 1.0; an aborted one leaves no file.
            if (interruptRequested && fileProgress < 1.0)
                break;

            ++converted;
            report ("Converted " + input.getFullPathName() + " -> " + output.getFullPathName());
        }
        catch (const InputFileInvalid&)
        {
            ++failed;
            clearProgressBar();
            printError ("Error: " + input.getFullPathName() + "\ncan not be opened");
        }
        catch (const FileWriteException&)
        {
            ++failed;
            clearProgressBar();
            printError ("Error writing to: " + output.getFullPathName());
        }
        catch (const NewSampleTooLarge& e)
        {
            ++failed;
            clearProgressBar();
            printError (e.what());
        }
    }

    clearProgressBar();

    if (interruptRequested)
    {
        printError ("orvo-convert: interrupted; " + juce::String (converted) + " converted");
        return interrupted;
    }

    printError (juce::String (converted) + " converted, " + juce::String (skipped) + " skipped, "
                + juce::String (failed) + " failed");
    return failed > 0 ? failure : success;
}

void ConvertCommand::interrupt() noexcept
{
    interruptRequested = true;
    converter.shouldAbort = true;
}

void ConvertCommand::progressChanged (const double& progress)
{
    // The converter forgets an abort asked for before it started resampling.
    if (interruptRequested)
        converter.shouldAbort = true;

    fileProgress = progress;
    drawProgressBar();
}

void ConvertCommand::report (const juce::String& line)
{
    clearProgressBar();
    std::cout << line << std::endl;
}

void ConvertCommand::drawProgressBar()
{
    if (! progressOnTerminal || numFiles == 0)
        return;

    const auto batch = juce::jlimit (0.0, 1.0, (fileIndex + fileProgress) / numFiles);
    const auto permille = (int) (batch * 1000.0);

    if (barShown && permille == lastPermille)
        return;

    lastPermille = permille;
    const auto filled = (int) (batch * barWidth);
    std::cerr << "\r\033[K[" << juce::String::repeatedString ("#", filled) << juce::String::repeatedString ("-", barWidth - filled)
              << "] " << juce::String (batch * 100.0, 1) << "%  " << (fileIndex + 1) << "/" << numFiles << "  "
              << juce::String ((int) (fileProgress * 100.0)) << "% " << currentName << std::flush;
    barShown = true;
}

void ConvertCommand::clearProgressBar()
{
    if (barShown)
    {
        std::cerr << "\r\033[K" << std::flush;
        barShown = false;
        lastPermille = -1;
    }
}
