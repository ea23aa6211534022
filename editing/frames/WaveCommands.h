// The voice recorder's command layer without a device: the command strings the recorder sends (the
// wave device's open, set, record, save and close), read into their parts; the wave file it writes; and
// the error texts of the device.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a recording is sampled. The recorder asks for 8-bit mono at 8000 samples per second.
struct SWaveFormat
{
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 8000;
    std::uint16_t bitsPerSample = 8;

    std::uint32_t BytesPerSec() const { return samplesPerSec * channels * (bitsPerSample / 8u); }
    friend bool operator==(const SWaveFormat&, const SWaveFormat&) = default;
};

// A command string in its parts: the verb upper-cased, the device alias, the rest of the words (a quoted
// word without its quotes).
struct SWaveCommand
{
    enum class EVerb
    {
        Unknown,
        Open,   // "OPEN NEW TYPE WAVEAUDIO ALIAS <alias>"
        Set,    // "SET <alias> TIME FORMAT MS BITSPERSAMPLE 8 CHANNELS 1 SAMPLESPERSEC 8000 ..."
        Record, // "RECORD <alias>"
        Save,   // "SAVE <alias> "<file>""
        Close,  // "CLOSE <alias>"
    };
    EVerb verb = EVerb::Unknown;
    std::string alias;
    std::vector<std::string> words; // after the verb and alias
};

// Splits a command string; a verb not listed above, a missing alias, an OPEN of anything but a new wave
// device and a SAVE without a file give EVerb::Unknown.
SWaveCommand ParseWaveCommand(std::string_view command);
// Applies the settings of a SET command to format; false (format unchanged) for a word or value it does
// not know, or a size it cannot record (channels 1 or 2, 8 or 16 bits, 1000..48000 samples per second,
// bytes per second matching the rest).
bool ApplyWaveSettings(const std::vector<std::string>& words, SWaveFormat& format);

// The 44-byte header of a PCM wave file holding dataBytes of samples.
std::string MakeWaveHeader(const SWaveFormat& format, std::uint32_t dataBytes);
// Writes a whole PCM wave file (header and samples) through a temporary file beside the target, so an
// old recording stays whole when the write fails; false (with the reason in error) then.
bool WriteWaveFile(const std::string& path, const SWaveFormat& format, std::string_view samples,
                   std::string* error = nullptr);

// The device's error codes and texts. 0 is success.
enum EWaveError : int
{
    kWaveOk = 0,
    kWaveUnknownCommand = 261,
    kWaveNotOpen = 263,
    kWaveAliasInUse = 289,
    kWaveBadSettings = 274,
    kWaveNoRecorder = 326,
    kWaveNotRecording = 278,
    kWaveCannotSave = 286,
};
// The text of an error code; empty for 0 and for a code it does not know.
std::string WaveErrorText(int code);
