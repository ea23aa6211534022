#include "editing/frames/WaveCommands.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"

namespace
{

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size())
    {
        if (text[i] == ' ' || text[i] == '\t')
        {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"')
        {
            const std::size_t end = text.find('"', i + 1);
            word = std::string(text.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
            i = end == std::string_view::npos ? text.size() : end + 1;
        }
        else
        {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t')
                word += text[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string Upper(const std::string& text)
{
    return lf::sys::AsciiUpper(text);
}

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

SWaveCommand ParseWaveCommand(std::string_view command)
{
    using V = SWaveCommand::EVerb;
    SWaveCommand parsed;
    std::vector<std::string> words = SplitWords(command);
    if (words.size() < 2)
        return parsed;
    const std::string verb = Upper(words[0]);
    if (verb == "OPEN")
    {
        // Only a new wave device under an alias is opened: OPEN NEW TYPE WAVEAUDIO ALIAS <alias>.
        if (words.size() == 6 && Upper(words[1]) == "NEW" && Upper(words[2]) == "TYPE" &&
            Upper(words[3]) == "WAVEAUDIO" && Upper(words[4]) == "ALIAS" && !words[5].empty())
        {
            parsed.verb = V::Open;
            parsed.alias = words[5];
        }
        return parsed;
    }
    const V known = verb == "SET"      ? V::Set
                    : verb == "RECORD" ? V::Record
                    : verb == "SAVE"   ? V::Save
                    : verb == "CLOSE"  ? V::Close
                                       : V::Unknown;
    if (known == V::Unknown)
        return parsed;
    if (known == V::Save)
    {
        // The file is the whole rest after the alias, its outer quotes taken off: a name may hold blanks
        // and quotes of its own, and must never be cut into another file's name.
        std::size_t at = command.find_first_not_of(" \t");
        at = command.find_first_of(" \t", at);     // after the verb
        at = command.find_first_not_of(" \t", at); // the alias
        at = command.find_first_of(" \t", at);     // after the alias
        const std::size_t first = command.find_first_not_of(" \t", at);
        const std::size_t last = command.find_last_not_of(" \t");
        if (first == std::string_view::npos)
            return parsed;
        std::string_view file = command.substr(first, last - first + 1);
        if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
            file = file.substr(1, file.size() - 2);
        if (file.empty())
            return parsed;
        parsed.words.emplace_back(file);
    }
    else
        parsed.words.assign(words.begin() + 2, words.end());
    parsed.verb = known;
    parsed.alias = words[1];
    return parsed;
}

bool ApplyWaveSettings(const std::vector<std::string>& words, SWaveFormat& format)
{
    SWaveFormat result = format;
    std::int64_t bytesPerSec = -1;
    for (std::size_t i = 0; i < words.size(); ++i)
    {
        const std::string key = Upper(words[i]);
        if (key == "TIME" && i + 2 < words.size() && Upper(words[i + 1]) == "FORMAT")
        {
            // Times are in milliseconds, the only format this device keeps.
            if (Upper(words[i + 2]) != "MS" && Upper(words[i + 2]) != "MILLISECONDS")
                return false;
            i += 2;
            continue;
        }
        if (i + 1 >= words.size())
            return false;
        std::int64_t value = 0;
        if (!lf::sys::ReadNumber(words[i + 1], value))
            return false;
        ++i;
        if (key == "BITSPERSAMPLE" && (value == 8 || value == 16))
            result.bitsPerSample = static_cast<std::uint16_t>(value);
        else if (key == "CHANNELS" && (value == 1 || value == 2))
            result.channels = static_cast<std::uint16_t>(value);
        else if (key == "SAMPLESPERSEC" && value >= 1000 && value <= 48000)
            result.samplesPerSec = static_cast<std::uint32_t>(value);
        else if (key == "BYTESPERSEC")
            bytesPerSec = value;
        else
            return false;
    }
    if (bytesPerSec >= 0 && bytesPerSec != result.BytesPerSec())
        return false;
    format = result;
    return true;
}

std::string MakeWaveHeader(const SWaveFormat& format, std::uint32_t dataBytes)
{
    const std::uint16_t blockAlign =
        static_cast<std::uint16_t>(format.channels * (format.bitsPerSample / 8u));
    std::string header;
    header += "RIFF";
    PutLE(header, 36u + dataBytes, 4);
    header += "WAVEfmt ";
    PutLE(header, 16, 4); // the size of the PCM format block
    PutLE(header, 1, 2);  // PCM
    PutLE(header, format.channels, 2);
    PutLE(header, format.samplesPerSec, 4);
    PutLE(header, format.BytesPerSec(), 4);
    PutLE(header, blockAlign, 2);
    PutLE(header, format.bitsPerSample, 2);
    header += "data";
    PutLE(header, dataBytes, 4);
    return header;
}

bool WriteWaveFile(const std::string& path, const SWaveFormat& format, std::string_view samples,
                   std::string* error)
{
    // A RIFF file counts its size in 32 bits.
    if (samples.size() > 0xFFFFFFFFu - 36u)
    {
        if (error != nullptr)
            *error = "the recording is too long for a wave file";
        return false;
    }
    lf::sys::AtomicFileWriter writer(path);
    if (!writer.Open(error))
        return false;
    writer.Write(MakeWaveHeader(format, static_cast<std::uint32_t>(samples.size())));
    writer.Write(samples);
    return writer.Commit(error);
}

std::string WaveErrorText(int code)
{
    switch (code)
    {
    case kWaveUnknownCommand:
        return "Unknown command.";
    case kWaveNotOpen:
        return "The specified device is not open or is not recognized.";
    case kWaveAliasInUse:
        return "The specified alias is already being used in this application. Use a unique alias.";
    case kWaveBadSettings:
        return "The wave device cannot record in the requested format.";
    case kWaveNoRecorder:
        return "There is no sound recording device. Connect a microphone and try again.";
    case kWaveNotRecording:
        return "Nothing has been recorded on the specified device.";
    case kWaveCannotSave:
        return "Cannot save the specified file. Make sure you have enough disk space and write permission.";
    default:
        return {};
    }
}
