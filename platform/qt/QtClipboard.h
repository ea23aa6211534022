// The window system's clipboard behind the program's clipboard interface, with a notice on every
// change (the viewer chain of the design). Formats are MIME types; the rich kinds are found under the
// names other programs use for them as well.
#pragma once

#include "platform/sys/Clipboard.h"

#include <QObject>

namespace lf::qt
{

class QtClipboard final : public QObject, public lf::sys::Clipboard
{
    Q_OBJECT
public:
    explicit QtClipboard(QObject* parent = nullptr);

    bool HasFormat(const std::string& format) override;
    std::string Data(const std::string& format) override;
    void SetData(const std::string& format, const std::string& bytes) override;
    void Clear() override;

signals:
    // Once for every change of the clipboard, ours or another program's.
    void Changed();
};

} // namespace lf::qt
