#pragma once

#include <optional>
#include "SplicedInputStream.h"

/** Checks an AIFF or AIFF-C file before the framework's AIFF reader sees it,
    as WavInputValidator does for WAV: the chunks are walked within the file,
    the "COMM" and "SSND" chunks checked, and only a plain header over the
    sample data that the file really holds is shown to the reader. */
class AiffInputValidator
{
public:
    /** The layout to read the file through, or nothing when the file is no AIFF the reader decodes. */
    static std::optional<SplicedInputStream::Layout> inspect (juce::InputStream& input);
};
