#pragma once

// The one place where Windows-1252 bytes of the core meet Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace lorvane {

QString FromCp1252(std::string_view bytes);
// Characters without a Windows-1252 form become '?', or `replacement`.
std::string ToCp1252(const QString& text);
std::string ToCp1252(const QString& text, char replacement);

}  // namespace lorvane
