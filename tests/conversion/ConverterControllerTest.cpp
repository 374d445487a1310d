#include <algorithm>
#include <deque>
#include <set>
#include <gtest/gtest.h>

#include "support/MessageLoop.h"
#include "support/ModalDriver.h"
#include "support/TemporaryFolder.h"
#include "app/MessageType.h"
#include "conversion/ConverterController.h"

namespace juce
{
// Readable failures for the dialog titles and buttons.
inline void PrintTo (const StringArray& strings, std::ostream* os)
{
    *os << "[" << strings.joinIntoString (" | ") << "]";
}
} // namespace juce

namespace
{
// The worker writes the progress value while the message thread polls it.
double readProgress (double& value)
{
    double result;
    __atomic_load (&value, &result, __ATOMIC_RELAXED);
    return result;
}

void writeWav (const juce::File& file, int frames, double rate = 44100.0, int channels = 1)
{
    file.getParentDirectory().createDirectory();
    file.deleteFile();

    juce::WavAudioFormat wav;
    auto stream = file.createOutputStream();
    ASSERT_NE (stream, nullptr);
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), rate, (unsigned int) channels,
                                                                          16, {}, 0));
    ASSERT_NE (writer, nullptr);
    stream.release();

    juce::AudioBuffer<float> block (channels, 16384);

    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < block.getNumSamples(); ++i)
            block.setSample (c, i, 0.5f * std::sin ((float) i * 0.05f));

    for (int done = 0; done < frames; done += block.getNumSamples())
        writer->writeFromAudioSampleBuffer (block, 0, juce::jmin (block.getNumSamples(), frames - done));
}

struct WavInfo
{
    double rate = 0;
    unsigned int bits = 0;
    juce::int64 frames = -1;
};

WavInfo readWav (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));

    if (reader == nullptr)
        return {};

    return { reader->sampleRate, reader->bitsPerSample, reader->lengthInSamples };
}

/** Counts "Conversion Complete" on the bus. */
struct CompletionCounter : public juce::ActionListener
{
    void actionListenerCallback (const juce::String& message) override
    {
        if (message == getMessageString (MessageType::conversionComplete))
            ++count;
    }

    int count = 0;
};

/** What a dialog showed, as the user saw it. */
struct Shown
{
    juce::String title, label, description, list;
    juce::StringArray buttons;
    bool toggleOn = false;
    bool labelShownWhole = true;
    double progress = -1.0;
};

/** The answer to one "File Exists" dialog: clicks on the toggle, then a button. */
struct Reply
{
    juce::String button;
    int toggleClicks = 0;
};

class ConverterControllerTest : public testing::Test
{
protected:
    ConverterControllerTest()
    {
        list.setMultiLine (true);   // as the converted-files list is
        makeController();
    }

    /** A fresh controller; by default its folder choice gives chosenFolder. */
    void makeController (bool withRealFolderChooser = false)
    {
        controller.reset();   // its destructor empties the bus
        controller = std::make_unique<ConverterController> (queue, list, progress, broadcaster);

        if (! withRealFolderChooser)
        {
            controller->setFolderChoice ([this]
            {
                ++folderRequests;
                return chosenFolder;
            });
        }

        // The main window component does this in the application.
        broadcaster.addActionListener (controller.get());
        broadcaster.addActionListener (&completions);
    }

    // The platform's dialogs (run as other programs) would need a person.
    static bool nativeFolderDialogInstalled()
    {
        return juce::File ("/usr/bin/zenity").exists() || juce::File ("/usr/bin/kdialog").exists();
    }

    ~ConverterControllerTest() override
    {
        controller.reset();
    }

    juce::File addInput (const juce::String& relativePath, int frames = 1000, double rate = 44100.0)
    {
        const auto file = inputs.getFile().getChildFile (relativePath);
        writeWav (file, frames, rate);
        queue.addFile (file);
        return file;
    }

    juce::File output (const juce::String& name) const { return outputs.getFile().getChildFile (name + ".wav"); }

    juce::File makeExistingOutput (const juce::String& name)
    {
        return outputs.createFile (name + ".wav", juce::MemoryBlock ("old bytes", 9));
    }

    static juce::String pathsOf (const juce::Array<FileQueueEntry>& entries)
    {
        juce::StringArray names;

        for (auto& e : entries)
            names.add (juce::File (e.inputPath).getFileName() + ">" + e.outputName);

        return names.joinIntoString (" ");
    }

    /** True if the label has the lines its wrapped text needs, as the look
        draws it, and lies above the dialog's buttons. */
    static bool isShownWhole (const juce::Label& label, juce::AlertWindow& alert)
    {
        auto& lf = label.getLookAndFeel();
        const auto font = lf.getLabelFont (const_cast<juce::Label&> (label));
        const auto area = lf.getLabelBorderSize (const_cast<juce::Label&> (label)).subtractedFrom (label.getLocalBounds());

        juce::GlyphArrangement glyphs;
        glyphs.addJustifiedText (font, label.getText(), 0.0f, 0.0f, (float) area.getWidth(), juce::Justification::left);

        std::set<float> baselines;
        for (auto& glyph : glyphs)
            baselines.insert (glyph.getBaselineY());

        const auto linesDrawn = (size_t) juce::jmax (1, (int) ((float) area.getHeight() / font.getHeight()));
        auto* button = ModalDriver::findChild<juce::TextButton> (alert);

        return baselines.size() <= linesDrawn && button != nullptr && label.getBottom() <= button->getY();
    }

    /** Answers every dialog like a user would and records what it showed. */
    void answer (juce::Component& modal, const ModalDriver::Seen& seen)
    {
        Shown s;
        s.title = seen.title;
        s.buttons = seen.buttons;
        s.description = seen.description;
        s.progress = readProgress (progress);
        s.list = list.getText();

        // the dialog's own label, its first custom component
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (&modal))
            if (auto* label = dynamic_cast<juce::Label*> (alert->getCustomComponent (0)))
            {
                s.label = label->getText();
                s.labelShownWhole = isShownWhole (*label, *alert);
            }

        auto* toggle = ModalDriver::findChild<juce::ToggleButton> (modal);
        s.toggleOn = toggle != nullptr && toggle->getToggleState();
        shown.push_back (s);

        if (onShown != nullptr && onShown (modal, s))
            return;

        if (s.title == "File Exists")
        {
            auto reply = replies.empty() ? Reply { "Skip" } : replies.front();

            if (! replies.empty())
                replies.pop_front();

            for (int i = 0; i < reply.toggleClicks && toggle != nullptr; ++i)
                toggle->triggerClick();

            ModalDriver::clickButton (modal, reply.button);
        }
        else if (s.title == "Error Writing File")
        {
            ModalDriver::clickButton (modal, "Continue");
        }
        else if (s.title == "Conversion Complete")
        {
            ModalDriver::clickButton (modal, "OK");
        }
        else
        {
            ModalDriver::clickButton (modal, "Cancel");
        }
    }

    /** Sends "Convert" and runs the message loop until the batch has ended. */
    void runBatch()
    {
        const auto before = completions.count;
        ModalDriver driver ([this] (juce::Component& modal, const ModalDriver::Seen& seen) { answer (modal, seen); });

        broadcaster.sendActionMessage (getMessageString (MessageType::convert));
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return completions.count > before && ! controller->isConverting; },
                                            60000));
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! controller->isThreadRunning(); }));

        // exactly one end of the batch, however the worker and the timer met
        MessageLoop::runFor (50);
        EXPECT_EQ (completions.count, before + 1);
    }

    juce::StringArray titles() const
    {
        juce::StringArray result;

        for (auto& s : shown)
            result.add (s.title);

        return result;
    }

    TemporaryFolder inputs { "orvo-batch-in" }, outputs { "orvo-batch-out" };
    FileQueue queue;
    juce::TextEditor list;
    double progress = 0.5;
    juce::ActionBroadcaster broadcaster;
    CompletionCounter completions;

    juce::File chosenFolder = outputs.getFile();
    int folderRequests = 0;
    std::deque<Reply> replies;
    std::vector<Shown> shown;
    std::function<bool (juce::Component&, const Shown&)> onShown;   // true: handled

    std::unique_ptr<ConverterController> controller;
};

TEST_F (ConverterControllerTest, EmptyQueueCompletesAtOnceWithoutAnyDialog)
{
    runBatch();

    EXPECT_EQ (folderRequests, 0);
    EXPECT_TRUE (shown.empty());
    EXPECT_EQ (completions.count, 1);
    EXPECT_EQ (readProgress (progress), 0.0);
}

TEST_F (ConverterControllerTest, CancelledFolderChoiceConvertsNothingAndLeavesTheQueue)
{
    addInput ("a.wav");
    addInput ("b.wav");
    const auto before = pathsOf (queue.getEntries());
    chosenFolder = juce::File();

    runBatch();

    EXPECT_EQ (folderRequests, 1);
    EXPECT_TRUE (shown.empty());
    EXPECT_EQ (pathsOf (queue.getEntries()), before);
    EXPECT_EQ (outputs.getFile().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
}

TEST_F (ConverterControllerTest, NewFilesAreConvertedListedAndTakenFromTheQueue)
{
    addInput ("Kick Drum.wav", 1000, 44100.0);
    addInput ("snare.wav", 2000, 22050.0);
    addInput ("hat.wav", 20000, 48000.0);

    runBatch();

    EXPECT_EQ (list.getText(), "KickDrum.wav\nsnare.wav\nhat.wav\n");
    EXPECT_EQ (queue.getNumEntries(), 0);
    ASSERT_EQ (titles(), juce::StringArray ("Conversion Complete"));
    EXPECT_EQ (shown[0].buttons, juce::StringArray ("OK"));
    EXPECT_EQ (shown[0].description, "Conversion Complete. File conversion Complete");
    EXPECT_EQ (shown[0].progress, 1.0);
    // the whole batch is listed while the completion message is up
    EXPECT_EQ (shown[0].list, "KickDrum.wav\nsnare.wav\nhat.wav\n");
    EXPECT_EQ (readProgress (progress), 0.0);

    for (auto [name, frames] : { std::pair { "KickDrum", 1000 }, { "snare", 4000 }, { "hat", 18375 } })
    {
        const auto info = readWav (output (name));
        EXPECT_EQ (info.rate, 44100.0) << name;
        EXPECT_EQ (info.bits, 16u) << name;
        EXPECT_EQ (info.frames, frames) << name;
    }
}

struct SkipCase
{
    const char* name;
    std::vector<Reply> replies;
    int fileExistsDialogs;
};

void PrintTo (const SkipCase& c, std::ostream* os) { *os << c.name; }

class SkipTest : public ConverterControllerTest, public testing::WithParamInterface<SkipCase> {};

TEST_P (SkipTest, SkippedEntriesGoBackInOrderAndNewOutputsAreStillConverted)
{
    addInput ("a.wav");
    addInput ("b.wav");
    addInput ("c.wav");
    addInput ("d.wav");
    const auto oldA = makeExistingOutput ("a");
    makeExistingOutput ("c");
    makeExistingOutput ("d");

    for (auto& r : GetParam().replies)
        replies.push_back (r);

    runBatch();

    juce::StringArray expected;

    for (int i = 0; i < GetParam().fileExistsDialogs; ++i)
        expected.add ("File Exists");

    expected.add ("Conversion Complete");
    ASSERT_EQ (titles(), expected);

    EXPECT_EQ (shown[0].label, outputs.getFile().getFullPathName() + "/a.wav");
    EXPECT_EQ (shown[0].buttons, juce::StringArray ("Overwrite", "Skip"));
    EXPECT_FALSE (shown[0].toggleOn);

    EXPECT_EQ (list.getText(), "b.wav\n");
    EXPECT_EQ (pathsOf (queue.getEntries()), "a.wav>a c.wav>c d.wav>d");
    EXPECT_EQ (oldA.loadFileAsString(), "old bytes");
    EXPECT_EQ (output ("d").loadFileAsString(), "old bytes");
}

INSTANTIATE_TEST_SUITE_P (Answers, SkipTest, testing::Values (
    // each existing output asks again; the new one between them does not ask
    SkipCase { "SkipEach", { { "Skip" }, { "Skip" }, { "Skip" } }, 3 },
    // "Apply to All" skips the later existing outputs without asking
    SkipCase { "SkipAll", { { "Skip", 1 } }, 1 },
    // ticked and unticked again: only this file is skipped
    SkipCase { "TickedAndUnticked", { { "Skip", 2 }, { "Skip" }, { "Skip" } }, 3 }),
    [] (const auto& info) { return std::string (info.param.name); });

TEST_F (ConverterControllerTest, OverwriteWithApplyToAllAsksOnceAndTheNextBatchAsksAgain)
{
    const auto a = addInput ("a.wav");
    const auto b = addInput ("b.wav");
    makeExistingOutput ("a");
    makeExistingOutput ("b");
    replies = { { "Overwrite", 1 } };

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("File Exists", "Conversion Complete"));
    EXPECT_EQ (list.getText(), "a.wav\nb.wav\n");
    EXPECT_EQ (queue.getNumEntries(), 0);
    EXPECT_EQ (readWav (output ("a")).frames, 1000);
    EXPECT_EQ (readWav (output ("b")).frames, 1000);

    // the toggle is off again and every existing output asks
    shown.clear();
    queue.addFile (a);
    queue.addFile (b);
    replies = { { "Overwrite" }, { "Skip" } };

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("File Exists", "File Exists", "Conversion Complete"));
    EXPECT_FALSE (shown[0].toggleOn);
    EXPECT_EQ (shown[1].label, outputs.getFile().getFullPathName() + "/b.wav");
    EXPECT_EQ (list.getText(), "a.wav\n");
    EXPECT_EQ (pathsOf (queue.getEntries()), "b.wav>b");
}

TEST_F (ConverterControllerTest, UnreadableInputIsReportedOnTwoLinesAndTheBatchGoesOn)
{
    const auto bad = inputs.createFile ("bad.wav", juce::MemoryBlock ("this is no audio", 16));
    queue.addFile (bad);
    addInput ("good.wav");

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("Error Writing File", "Conversion Complete"));
    EXPECT_EQ (shown[0].label, "Error: " + bad.getFullPathName() + "\ncan not be opened");
    EXPECT_EQ (shown[0].buttons, juce::StringArray ("Continue"));
    EXPECT_EQ (list.getText(), "good.wav\n");
    EXPECT_EQ (queue.getNumEntries(), 0);
    EXPECT_FALSE (output ("bad").exists());
}

TEST_F (ConverterControllerTest, AReportOfALongPathIsShownWhole)
{
    const auto bad = inputs.getFile().getChildFile ("a long folder name for samples/another level of folders/kits/"
                                                    + juce::String::repeatedString ("b", 120) + ".flac");
    bad.getParentDirectory().createDirectory();
    bad.replaceWithText ("this is no audio");
    queue.addFile (bad);
    queue.addFile (inputs.createFile ("short.wav", juce::MemoryBlock ("no audio", 8)));

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("Error Writing File", "Error Writing File", "Conversion Complete"));
    EXPECT_EQ (shown[0].label, "Error: " + bad.getFullPathName() + "\ncan not be opened");
    EXPECT_TRUE (shown[0].labelShownWhole);
    EXPECT_TRUE (shown[1].labelShownWhole);
}

TEST_F (ConverterControllerTest, UnwritableFolderReportsEachFile)
{
    // A file where the folder should be cannot be written into, even by root.
    chosenFolder = outputs.createFile ("not a folder");
    addInput ("a.wav");
    addInput ("b.wav");

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("Error Writing File", "Error Writing File", "Conversion Complete"));
    EXPECT_EQ (shown[0].label, "Error writing to: " + chosenFolder.getFullPathName() + "/a.wav");
    EXPECT_EQ (shown[1].label, "Error writing to: " + chosenFolder.getFullPathName() + "/b.wav");
    EXPECT_EQ (list.getText(), "");
    EXPECT_EQ (shown[2].progress, 1.0);
}

TEST_F (ConverterControllerTest, EqualOutputNamesAskForTheSecondAndASecondConvertChangesNothing)
{
    addInput ("one/kick.wav");
    const auto second = addInput ("two/kick.wav");

    onShown = [this] (juce::Component&, const Shown& s)
    {
        // the menu command's "Convert" while the batch waits for an answer
        if (s.title == "File Exists")
            broadcaster.sendActionMessage (getMessageString (MessageType::convert));

        return false;
    };

    runBatch();
    MessageLoop::runFor (200);

    ASSERT_EQ (titles(), juce::StringArray ("File Exists", "Conversion Complete"));
    EXPECT_EQ (shown[0].label, outputs.getFile().getFullPathName() + "/kick.wav");
    EXPECT_EQ (folderRequests, 1);
    EXPECT_EQ (completions.count, 1);
    EXPECT_EQ (list.getText(), "kick.wav\n");
    ASSERT_EQ (queue.getNumEntries(), 1);
    EXPECT_EQ (queue.getEntries()[0].inputPath, second.getFullPathName());
}

/** Samples the progress value on the message thread, also inside the dialogs' loops. */
struct ProgressSampler : private juce::Timer
{
    explicit ProgressSampler (double& v) : value (v) { startTimer (1); }
    ~ProgressSampler() override { stopTimer(); }
    void timerCallback() override { samples.push_back (readProgress (value)); }

    double& value;
    std::vector<double> samples;
};

/** Records, on the worker, the progress at the moment each entry is taken. */
struct TakeRecorder : public FileQueue::FileQueueListener
{
    explicit TakeRecorder (double& v) : value (v) {}

    void fileQueueChanged (FileQueue*) override
    {
        if (juce::MessageManager::getInstance()->isThisTheMessageThread())
            return;

        auto* thread = juce::Thread::getCurrentThread();
        const juce::ScopedLock sl (lock);
        atTake.push_back (readProgress (value));
        workerName = thread != nullptr ? thread->getThreadName() : juce::String();
    }

    double& value;
    juce::CriticalSection lock;
    std::vector<double> atTake;
    juce::String workerName;
};

TEST_F (ConverterControllerTest, EachFileSweepsItsShareAndASkippedFileJumps)
{
    addInput ("long.wav", 48000 * 60, 48000.0);   // long enough to be seen part-way, even under a sanitizer
    addInput ("skipped.wav");
    addInput ("last.wav");
    makeExistingOutput ("skipped");
    replies = { { "Skip" } };

    TakeRecorder recorder (progress);
    queue.addListener (&recorder);
    std::vector<double> samples;

    {
        // the main screen's bar follows the value on its own, as here
        juce::ProgressBar bar (progress);
        bar.setSize (389, 25);
        bar.setVisible (true);
        ProgressSampler sampler (progress);
        runBatch();
        samples = sampler.samples;
    }

    queue.removeAllListeners();

    {
        const juce::ScopedLock sl (recorder.lock);
        EXPECT_EQ (recorder.workerName, "File Convert Thread");

        // take (0), take when the first is done (1/3), put back (still 1/3),
        // take the last once the skip jumped (2/3)
        ASSERT_EQ (recorder.atTake.size(), 4u);
        EXPECT_NEAR (recorder.atTake[0], 0.0, 1e-9);
        EXPECT_NEAR (recorder.atTake[1], 1.0 / 3.0, 1e-9);
        EXPECT_NEAR (recorder.atTake[2], 1.0 / 3.0, 1e-9);
        EXPECT_NEAR (recorder.atTake[3], 2.0 / 3.0, 1e-9);
    }

    ASSERT_EQ (titles(), juce::StringArray ("File Exists", "Conversion Complete"));
    EXPECT_NEAR (shown[0].progress, 1.0 / 3.0, 1e-9);
    EXPECT_EQ (shown[1].progress, 1.0);
    EXPECT_EQ (readProgress (progress), 0.0);

    // Up to the completion the value only grows, and the long first file was
    // seen part-way through its own third.
    auto end = std::find (samples.begin(), samples.end(), 1.0);
    ASSERT_NE (end, samples.end());
    EXPECT_TRUE (std::is_sorted (samples.begin(), end));
    EXPECT_TRUE (std::any_of (samples.begin(), end, [] (double v) { return v > 0.01 && v < 1.0 / 3.0 - 0.01; }));
    EXPECT_TRUE (std::all_of (samples.begin(), samples.end(), [] (double v) { return v >= 0.0 && v <= 1.0; }));
}

TEST_F (ConverterControllerTest, TheDefaultFolderChooserStartsAtHomeAndChoosesOneFolder)
{
    if (nativeFolderDialogInstalled())
        GTEST_SKIP();

    makeController (true);
    addInput ("a.wav");

    juce::File root, aFile = inputs.getFile().getChildFile ("a.wav");
    bool filesSuitable = true, foldersSuitable = false;

    onShown = [&] (juce::Component& modal, const Shown&)
    {
        if (auto* browser = ModalDriver::findChild<juce::FileBrowserComponent> (modal))
        {
            root = browser->getRoot();
            filesSuitable = browser->isFileSuitable (aFile);
            foldersSuitable = browser->isDirectorySuitable (inputs.getFile());
        }

        return false;   // answered with "Cancel"
    };

    runBatch();

    ASSERT_EQ (titles(), juce::StringArray ("Choose Output Folder "));
    EXPECT_EQ (root, juce::File::getSpecialLocation (juce::File::userHomeDirectory));
    EXPECT_FALSE (filesSuitable);
    EXPECT_TRUE (foldersSuitable);
    EXPECT_EQ (queue.getNumEntries(), 1);
}

class ShutdownTest : public ConverterControllerTest
{
protected:
    static void SetUpTestSuite()
    {
        // Three minutes of stereo at 48 kHz: long enough to be caught part-way.
        longInput = std::make_unique<TemporaryFolder> ("orvo-batch-long");
        writeWav (longInput->getFile().getChildFile ("long.wav"), 48000 * 180, 48000.0, 2);
    }

    static void TearDownTestSuite() { longInput.reset(); }

    void shutDown()
    {
        controller->prepareForShutdown();
        controller.reset();
    }

    static std::unique_ptr<TemporaryFolder> longInput;
};

std::unique_ptr<TemporaryFolder> ShutdownTest::longInput;

TEST_F (ShutdownTest, DuringAConversionStopsAfterTheCurrentBlockAndLeavesNoFile)
{
    // while resampling (below 0.5), then while writing (above it)
    for (double reached : { 0.05, 0.6 })
    {
        SCOPED_TRACE (reached);

        if (controller == nullptr)
            makeController();

        queue.addFile (longInput->getFile().getChildFile ("long.wav"));
        ModalDriver driver ([this] (juce::Component& modal, const ModalDriver::Seen& seen) { answer (modal, seen); });

        broadcaster.sendActionMessage (getMessageString (MessageType::convert));
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return readProgress (progress) >= reached; }, 60000));
        ASSERT_LT (readProgress (progress), 1.0);

        shutDown();
        MessageLoop::runFor (100);

        EXPECT_FALSE (output ("long").exists());
        EXPECT_TRUE (shown.empty());
        EXPECT_EQ (completions.count, 0);
        EXPECT_EQ (queue.getNumEntries(), 0);   // the entry taken is not put back
        EXPECT_EQ (list.getText(), "");
    }
}

TEST_F (ShutdownTest, WhileADialogIsUpWakesTheWorkerAndEndsTheBatch)
{
    for (auto* title : { "File Exists", "Error Writing File", "Conversion Complete" })
    {
        SCOPED_TRACE (title);

        if (controller == nullptr)
            makeController();

        queue.clear();
        shown.clear();
        outputs.getFile().deleteRecursively();
        outputs.getFile().createDirectory();
        const juce::String wanted (title);

        if (wanted == "File Exists")
            makeExistingOutput ("first");

        if (wanted == "Error Writing File")
            queue.addFile (inputs.createFile ("first.wav", juce::MemoryBlock ("no audio", 8)));
        else
            addInput ("first.wav");

        if (wanted != "Conversion Complete")
            addInput ("second.wav");

        bool wasShutDown = false;
        onShown = [&] (juce::Component&, const Shown& s)
        {
            if (s.title != wanted)
                return false;

            // The main window goes away from inside the dialog's own modal loop.
            shutDown();
            wasShutDown = true;
            return true;
        };

        ModalDriver driver ([this] (juce::Component& modal, const ModalDriver::Seen& seen) { answer (modal, seen); });
        broadcaster.sendActionMessage (getMessageString (MessageType::convert));
        ASSERT_TRUE (MessageLoop::runUntil ([&] { return wasShutDown; }, 30000));
        MessageLoop::runFor (200);

        EXPECT_EQ (titles(), juce::StringArray (title));
        EXPECT_EQ (completions.count, 0);
        EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
        EXPECT_FALSE (output ("second").exists());
        EXPECT_EQ (pathsOf (queue.getEntries()), wanted == "Conversion Complete" ? "" : "second.wav>second");
    }
}
TEST_F (ShutdownTest, WhileTheFolderChooserIsUpEndsItAndStartsNothing)
{
    if (nativeFolderDialogInstalled())
        GTEST_SKIP();

    makeController (true);
    addInput ("a.wav");
    bool wasShutDown = false;

    onShown = [&] (juce::Component&, const Shown&)
    {
        shutDown();   // the main window closed from its title bar meanwhile
        wasShutDown = true;
        return true;
    };

    ModalDriver driver ([this] (juce::Component& modal, const ModalDriver::Seen& seen) { answer (modal, seen); });
    broadcaster.sendActionMessage (getMessageString (MessageType::convert));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return wasShutDown; }));
    ASSERT_TRUE (MessageLoop::runUntil ([] { return juce::ModalComponentManager::getInstance()->getNumModalComponents() == 0; }));
    MessageLoop::runFor (200);

    EXPECT_EQ (titles(), juce::StringArray ("Choose Output Folder "));
    EXPECT_EQ (completions.count, 0);
    EXPECT_EQ (queue.getNumEntries(), 1);
}
} // namespace
