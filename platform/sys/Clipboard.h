// The system clipboard as the program sees it: named formats holding bytes. The desktop build installs a
// clipboard over the window system; tests and the pure code use the in-memory one below.
#pragma once

#include <map>
#include <string>

namespace lf::sys
{

// Format names. They are MIME types; the window-system clipboard maps them to its own formats.
inline constexpr const char* kClipboardText = "text/plain";                          // plain text, UTF-8
inline constexpr const char* kClipboardHtml = "text/html";                           // "HTML Format"
inline constexpr const char* kClipboardRtf = "text/rtf";                             // "Rich Text Format"
inline constexpr const char* kClipboardRichView = "application/x-lernfold-richview"; // "RichView Format"
// The spreadsheet table in the Data Interchange Format, as spreadsheets offer it.
inline constexpr const char* kClipboardDif = "application/x-openoffice-dif;windows_formatname=\"DIF\"";

class Clipboard
{
public:
    virtual ~Clipboard();

    virtual bool HasFormat(const std::string& format) = 0;
    // The bytes held in the format; empty when the format is absent.
    virtual std::string Data(const std::string& format) = 0;
    // Puts bytes in one format, keeping the other formats (several formats describe one content).
    virtual void SetData(const std::string& format, const std::string& bytes) = 0;
    // Empties the clipboard of every format.
    virtual void Clear() = 0;
};

// A clipboard that lives in memory only.
class MemoryClipboard final : public Clipboard
{
public:
    bool HasFormat(const std::string& format) override;
    std::string Data(const std::string& format) override;
    void SetData(const std::string& format, const std::string& bytes) override;
    void Clear() override;

private:
    std::map<std::string, std::string> m_Formats;
};

// The clipboard in force: one installed with SetClipboard, else a process-wide in-memory clipboard.
Clipboard& CurrentClipboard();
// Installs a clipboard (not owned); nullptr goes back to the process-wide in-memory one.
void SetClipboard(Clipboard* clipboard);

} // namespace lf::sys
