#pragma once

// The text of an HTML page file. Pages that declare no character set are
// Windows-1252 (the program writes its own pages so); a page that declares
// one, by a byte-order mark or a <meta ... charset=...> in its first 4096
// bytes, is decoded by its declaration. Qt Core only.

#include <QString>
#include <string>
#include <string_view>

namespace lorvane {

// The declared character set, lower case ("utf-8", "windows-1252", ...), or
// "" when the page declares none. A byte-order mark counts as a declaration.
std::string DeclaredCharset(std::string_view bytes);

// The page's text. Without a declared charset: UTF-8 when the bytes are
// valid UTF-8, else Windows-1252. Windows-1252 also for the declarations that browsers read as
// Windows-1252 (iso-8859-1, us-ascii,
// ...) or that Qt cannot decode.
QString DecodePage(std::string_view bytes);

}  // namespace lorvane
