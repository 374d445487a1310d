#include "FFmpegAudioFormat.h"

#include "FFmpegAudioReader.h"

FFmpegAudioFormat::FFmpegAudioFormat()
    : juce::AudioFormat ("MPEG and Windows Media", juce::StringArray { ".mp3", ".wmv", ".asf", ".wm", ".wma" })
{
}

juce::AudioFormatReader* FFmpegAudioFormat::createReaderFor (juce::InputStream* sourceStream, bool deleteStreamIfOpeningFails)
{
    if (sourceStream == nullptr)
        return nullptr;

    if (auto reader = FFmpegAudioReader::create (sourceStream, getFormatName()))
        return reader.release();

    if (deleteStreamIfOpeningFails)
        delete sourceStream;

    return nullptr;
}
