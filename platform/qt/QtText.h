// The boundary between the program's UTF-8 std::string texts and Qt's QString.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace lf::qt
{

QString ToQString(std::string_view utf8);
std::string ToStdString(const QString& text);

} // namespace lf::qt
