#include "FormSniffing.h"

#include <cctype>

#include "Utf8.h"

namespace lorvane::importer {
namespace {

bool NameIs(std::string_view name, std::string_view wanted) {
    if (name.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) !=
            std::tolower(static_cast<unsigned char>(wanted[i])))
            return false;
    return true;
}

// The name of the root element of an XML text, "" when the text ends
// before it.
std::string_view RootElement(std::string_view s) {
    std::size_t at = 0;
    for (;;) {
        at = s.find('<', at);
        if (at == std::string_view::npos || at + 1 >= s.size()) return {};
        if (s[at + 1] == '?') {
            at = s.find("?>", at);
        } else if (s.substr(at + 1, 3) == "!--") {
            at = s.find("-->", at);
        } else if (s[at + 1] == '!') {
            // A document type, with its internal subset if it has one.
            const std::size_t bracket = s.find('[', at), close = s.find('>', at);
            at = bracket < close ? s.find("]", bracket) : close;
            if (at != std::string_view::npos) at = s.find('>', at);
        } else {
            std::size_t end = at + 1;
            while (end < s.size() &&
                   (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '_' ||
                    s[end] == '-' || s[end] == '.' || s[end] == ':'))
                ++end;
            if (end == s.size()) return {};
            std::string_view name = s.substr(at + 1, end - at - 1);
            if (std::size_t colon = name.rfind(':'); colon != std::string_view::npos)
                name = name.substr(colon + 1);
            return name;
        }
        if (at == std::string_view::npos) return {};
        ++at;
    }
}

}  // namespace

BibleForm DetectBibleForm(std::string_view head) {
    std::string text;
    if (utf8::HasUtf16Mark(head)) {
        text = utf8::Utf16ToUtf8(head);
        head = text;
    }
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return BibleForm::Unknown;
    if (head[first] == '\\')
        return head.substr(0, 4096).find("\\id ") != std::string_view::npos ? BibleForm::Usfm
                                                                            : BibleForm::Unknown;
    if (head[first] != '<') return BibleForm::Unknown;
    const std::string_view root = RootElement(head.substr(first));
    if (NameIs(root, "osis")) return BibleForm::Osis;
    if (NameIs(root, "XMLBIBLE")) return BibleForm::Zefania;
    if (NameIs(root, "usfx")) return BibleForm::Usfx;
    return BibleForm::Unknown;
}

std::string BibleFormName(BibleForm form, std::size_t files) {
    switch (form) {
        case BibleForm::Usfm:
            return files == 1 ? "un fichier USFM" : "des fichiers USFM";
        case BibleForm::Osis:
            return "un fichier OSIS";
        case BibleForm::Zefania:
            return "un fichier Zefania";
        case BibleForm::Usfx:
            return "un fichier USFX";
        case BibleForm::Unknown:
            break;
    }
    return "un fichier";
}

}  // namespace lorvane::importer
