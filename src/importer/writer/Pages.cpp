#include "Pages.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "BibleText.h"
#include "PageUrl.h"
#include "QtText.h"
#include "StudyLinks.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// "charset=utf-8" (in any case, quoted or not) becomes "charset=windows-1252";
// a page that declares no charset gets a declaration of windows-1252 at the
// start of its <HEAD>.
std::string DeclareCp1252(std::string html) {
    std::string lower = Lower(html);
    if (lower.find("charset=") == std::string::npos) {
        std::size_t head = lower.find("<head");
        std::size_t end = head == std::string::npos ? head : lower.find('>', head);
        if (end != std::string::npos) {
            html.insert(end + 1,
                        "\n<META http-equiv=\"Content-Type\" content=\"text/html; "
                        "charset=windows-1252\">");
        }
        return html;
    }
    std::size_t at = 0;
    while ((at = lower.find("charset=", at)) != std::string::npos) {
        std::size_t v = at + 8;
        if (v < lower.size() && (lower[v] == '"' || lower[v] == '\'')) ++v;
        for (std::string_view utf8 : {"utf-8", "utf8"}) {
            if (lower.compare(v, utf8.size(), utf8) == 0) {
                html.replace(v, utf8.size(), "windows-1252");
                lower.replace(v, utf8.size(), "windows-1252");
                break;
            }
        }
        at = v;
    }
    return html;
}

std::time_t ModificationTime(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw std::runtime_error("cannot read the date of " + path.string());
    return st.st_mtime;
}

std::string DecodeEntities(std::string s) {
    std::size_t at = 0;
    while ((at = s.find("&amp;", at)) != std::string::npos) {
        s.replace(at, 5, "&");
        ++at;
    }
    return s;
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

// A verse link: book, chapter, first verse and an optional last verse,
// separated by ":" or "-". Returns false for anything else.
bool ParseVerseLink(const std::string& href, int n[4], int* count) {
    std::vector<std::string> fields(1);
    for (char c : href) {
        if (c == ':' || c == '-') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (fields.size() < 3 || fields.size() > 4) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!AllDigits(fields[i]) || fields[i].size() > 4) return false;
        n[i] = std::stoi(fields[i]);
    }
    *count = static_cast<int>(fields.size());
    return true;
}

}  // namespace

std::vector<Page> LoadPages(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw std::runtime_error("study pages folder not found: " + folder.string());
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".htm" && it->is_regular_file()) files.push_back(it->path());
    if (ec) throw std::runtime_error("cannot list " + folder.string() + ": " + ec.message());
    if (files.empty()) throw std::runtime_error("no .htm page in " + folder.string());
    std::sort(files.begin(), files.end());

    std::vector<Page> pages;
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream buf;
        buf << in.rdbuf();
        if (!in || in.bad()) throw std::runtime_error("cannot read " + path.string());
        Page page;
        page.name = path.filename().string();
        page.bytes = DeclareCp1252(PageToCp1252(buf.str(), path.string()));
        page.modified = ModificationTime(path);
        pages.push_back(std::move(page));
    }
    return pages;
}

PageLinks ScanPage(const std::string& html) {
    PageLinks out;
    int line = 1;
    std::size_t lineCounted = 0;
    auto lineAt = [&](std::size_t pos) {
        for (; lineCounted < pos; ++lineCounted)
            if (html[lineCounted] == '\n') ++line;
        return line;
    };
    std::size_t i = 0;
    while ((i = html.find('<', i)) != std::string::npos) {
        if (html.compare(i, 4, "<!--") == 0) {
            std::size_t end = html.find("-->", i + 4);
            i = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        std::size_t j = i + 1;
        std::size_t nameStart = j;
        while (j < html.size() && std::isalnum(static_cast<unsigned char>(html[j])))
            ++j;
        std::string tag = Lower(html.substr(nameStart, j - nameStart));
        const int tagLine = lineAt(i);
        if (tag == "script" || tag == "iframe" || tag == "object" || tag == "embed" ||
            tag == "applet")
            out.forbidden.push_back({"<" + tag + ">", tagLine});
        // Attributes up to the closing ">".
        while (j < html.size() && html[j] != '>') {
            if (std::isspace(static_cast<unsigned char>(html[j])) || html[j] == '/') {
                ++j;
                continue;
            }
            std::size_t a = j;
            while (j < html.size() && html[j] != '=' && html[j] != '>' &&
                   !std::isspace(static_cast<unsigned char>(html[j])))
                ++j;
            std::string attr = Lower(html.substr(a, j - a));
            while (j < html.size() && std::isspace(static_cast<unsigned char>(html[j])))
                ++j;
            std::string value;
            bool hasValue = false;
            if (j < html.size() && html[j] == '=') {
                hasValue = true;
                ++j;
                while (j < html.size() && std::isspace(static_cast<unsigned char>(html[j])))
                    ++j;
                if (j < html.size() && (html[j] == '"' || html[j] == '\'')) {
                    char q = html[j++];
                    std::size_t end = html.find(q, j);
                    if (end == std::string::npos) end = html.size();
                    value = html.substr(j, end - j);
                    j = std::min(end + 1, html.size());
                } else {
                    std::size_t v = j;
                    while (j < html.size() && html[j] != '>' &&
                           !std::isspace(static_cast<unsigned char>(html[j])))
                        ++j;
                    value = html.substr(v, j - v);
                }
            }
            if (!hasValue) continue;
            value = DecodeEntities(value);
            if (attr == "href" && tag == "a") {
                out.hrefs.push_back({value, tagLine});
            } else if (attr == "href" || attr == "src" || attr == "background" ||
                       attr == "action" || attr == "data") {
                out.forbidden.push_back({"<" + tag + " " + attr + "=\"" + value + "\">", tagLine});
            } else if ((attr == "name" && tag == "a") || attr == "id") {
                out.anchors.push_back(value);
            } else if (attr.size() > 2 && attr.compare(0, 2, "on") == 0) {
                out.forbidden.push_back({"<" + tag + " " + attr + "=...>", tagLine});
            }
        }
        i = j;
    }
    return out;
}

namespace {

// Follows the links of each study pane from its first page with the pane's
// own rules, as the program would: every link reached must be one the pane
// follows and that leads somewhere. A page shown in a pane is read there by
// that pane's rules, whatever pane it was written for.
void CheckPaneLinks(const std::map<std::string, PageLinks>& scanned, Report& report) {
    const QString root = QStringLiteral("/lorvane/them/");
    const auto pageOf = [&](const QString& path) -> std::string {
        if (!path.startsWith(root)) return {};
        const std::string name = ToCp1252(path.mid(root.size()));
        return scanned.count(name) ? name : std::string();
    };
    const StudyFileTest isFile = [&](const QString& path) { return !pageOf(path).empty(); };
    struct Pane {
        const char* name;
        const char* first;
        std::function<StudyLinkDecision(const QString&)> rule;
    };
    const Pane panes[] = {
        {"book table", "livres.htm", [](const QString& url) { return BookTableLink(url); }},
        {"themes", "index.htm", [&](const QString& url) { return ThemeLink(url, isFile); }},
        {"glossary", "glossaire.htm",
         [&](const QString& url) { return GlossaryLink(url, isFile); }},
    };
    for (const Pane& pane : panes) {
        if (!scanned.count(pane.first)) continue;
        std::set<std::string> seen{pane.first};
        std::deque<std::string> queue{pane.first};
        while (!queue.empty()) {
            const std::string page = queue.front();
            queue.pop_front();
            for (const Link& link : scanned.at(page).hrefs) {
                const NavTarget target =
                    TargetOfLink(FromCp1252(link.href), root + FromCp1252(page));
                const StudyLinkDecision d = pane.rule(target.report);
                const std::string at = page + ":" + std::to_string(link.line) + ": link \"" +
                                       link.href + "\" in the " + pane.name + " pane";
                if (d.kind == StudyLinkDecision::Cancel) {
                    report.Error(at + " does nothing there");
                    continue;
                }
                if (d.kind != StudyLinkDecision::Proceed) continue;
                const std::string next = target.local ? pageOf(target.path) : std::string();
                if (next.empty()) {
                    report.Error(at + " leads to no study page");
                    continue;
                }
                const auto& anchors = scanned.at(next).anchors;
                if (target.hasAnchor && !target.anchor.isEmpty() &&
                    std::find(anchors.begin(), anchors.end(), ToCp1252(target.anchor)) ==
                        anchors.end()) {
                    report.Error(at + " leads to no anchor of " + next);
                    continue;
                }
                if (seen.insert(next).second) queue.push_back(next);
            }
        }
    }
}

}  // namespace

void CheckPages(const std::vector<Page>& pages, const VerseIndex& verses, bool strictVerseLinks,
                Report& report) {
    std::map<std::string, PageLinks> scanned;
    for (const Page& p : pages)
        scanned[p.name] = ScanPage(p.bytes);
    for (const char* required : {"livres.htm", "index.htm", "glossaire.htm"})
        if (!scanned.count(required))
            report.Error(std::string("study page ") + required + " is missing");

    auto hasAnchor = [&](const std::string& page, const std::string& anchor) {
        auto it = scanned.find(page);
        if (it == scanned.end()) return false;
        const auto& a = it->second.anchors;
        return std::find(a.begin(), a.end(), anchor) != a.end();
    };
    if (scanned.count("glossaire.htm")) {
        std::string missing;
        for (char c = 'A'; c <= 'Z'; ++c)
            if (!hasAnchor("glossaire.htm", std::string(1, c))) missing += std::string(" ") + c;
        for (const char* a : {"Longueur", "Capacite", "Poids", "Monnaie", "Temps"})
            if (!hasAnchor("glossaire.htm", a)) missing += std::string(" ") + a;
        if (!missing.empty()) report.Error("glossaire.htm lacks the anchors" + missing);
    }

    int verseLinks = 0, bookLinks = 0, pageLinks = 0, badVerseLinks = 0;
    std::set<int> booksLinked;
    for (const auto& [name, links] : scanned) {
        const bool bookTable = name == "livres.htm";
        for (const Link& f : links.forbidden)
            report.Error(name + ":" + std::to_string(f.line) +
                         ": not allowed in a study page: " + f.href);
        for (const Link& link : links.hrefs) {
            const std::string& href = link.href;
            const std::string at = name + ":" + std::to_string(link.line) + ": ";
            int n[4] = {0, 0, 0, 0}, fields = 0;
            if (AllDigits(href)) {
                int book = href.size() <= 3 ? std::stoi(href) : 0;
                if (!bookTable) {
                    report.Error(at + "book link \"" + href + "\" outside livres.htm");
                } else if (book < 1 || book > kBooks) {
                    report.Error(at + "book link \"" + href + "\" names no book 1-66");
                } else {
                    booksLinked.insert(book);
                }
                ++bookLinks;
            } else if (ParseVerseLink(href, n, &fields)) {
                ++verseLinks;
                if (bookTable) {
                    report.Error(at + "verse link \"" + href +
                                 "\" in livres.htm, which opens only books");
                    continue;
                }
                int last = fields == 4 ? n[3] : 0;
                std::string problem;
                if (fields == 4 && last < n[2]) {
                    problem = "ends before it starts";
                } else if (!verses.HasTarget(n[0], n[1], n[2] == 0 ? -1 : n[2],
                                             last == n[2] ? 0 : last)) {
                    problem = "names a verse the Bible lacks";
                }
                if (problem.empty()) continue;
                ++badVerseLinks;
                std::string message = at + "verse link \"" + href + "\" " + problem;
                if (strictVerseLinks || problem[0] == 'e') {
                    report.Error(message);
                } else {
                    report.Warn("verse links of the study pages naming verses this Bible lacks",
                                message, 40);
                }
            } else {
                ++pageLinks;
                std::string page = href.substr(0, href.find('#'));
                std::string anchor =
                    href.find('#') == std::string::npos ? "" : href.substr(href.find('#') + 1);
                if (page.empty()) page = name;
                if (page.find_first_of(":/\\") != std::string::npos || !scanned.count(page)) {
                    report.Error(at + "link \"" + href + "\" names no study page");
                } else if (!anchor.empty() && !hasAnchor(page, anchor)) {
                    report.Error(at + "link \"" + href + "\" names no anchor of " + page);
                }
            }
        }
    }
    CheckPaneLinks(scanned, report);
    if (scanned.count("livres.htm")) {
        std::string missing;
        for (int b = 1; b <= kBooks; ++b)
            if (!booksLinked.count(b)) missing += " " + std::to_string(b);
        if (!missing.empty()) report.Error("livres.htm has no link to the books" + missing);
    }
    report.Summary("study pages: " + std::to_string(pages.size()) + ", verse links: " +
                   std::to_string(verseLinks) + " (" + std::to_string(badVerseLinks) +
                   " not valid), book links: " + std::to_string(bookLinks) +
                   ", page links: " + std::to_string(pageLinks));
}

}  // namespace lorvane::importer
