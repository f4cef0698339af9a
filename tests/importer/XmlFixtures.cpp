#include "XmlFixtures.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "Canon.h"
#include "Cp1252.h"
#include "Usfm.h"
#include "ZipFixtures.h"

namespace lorvane::testing {
namespace {

using importer::BibleData;

std::string Escape(const std::string& cp1252) {
    std::string out;
    for (char c : std::string(cp1252)) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

BibleData LsgBible(int first, int last) {
    std::vector<importer::SourceFile> files;
    for (auto& [path, bytes] : LsgEntries(first, last))
        files.push_back({path.substr(path.rfind('/') + 1), bytes});
    importer::Report report;
    importer::UsfmImportOptions options;
    options.partial = true;
    return importer::ImportUsfmFiles(std::move(files), "LSG", options, report);
}

using Key = std::tuple<int, int, int>;

std::string Osis(const datawriter::CrossRefRecord& x) {
    const std::string book(datawriter::kCanon[x.targetBook - 1].osis);
    std::string ref = book + "." + std::to_string(x.targetChapter);
    if (x.targetFirst) ref += "." + std::to_string(x.targetFirst);
    if (x.targetLast)
        ref +=
            "-" + book + "." + std::to_string(x.targetChapter) + "." + std::to_string(x.targetLast);
    return ref;
}

std::string French(const datawriter::CrossRefRecord& x) {
    std::string ref = std::string(datawriter::kCanon[x.targetBook - 1].abbreviation) + " " +
                      std::to_string(x.targetChapter);
    if (x.targetFirst) ref += ":" + std::to_string(x.targetFirst);
    if (x.targetLast) ref += "-" + std::to_string(x.targetLast);
    return ref + ".";
}

}  // namespace

std::string LsgXml(XmlForm form, int first, int last) {
    if (LsgDir().empty()) return {};
    // The whole Bible is read once for all the forms.
    static const BibleData whole = LsgBible(1, 66);
    const BibleData part = first == 1 && last == 66 ? BibleData{} : LsgBible(first, last);
    const BibleData& bible = first == 1 && last == 66 ? whole : part;
    std::multimap<Key, const datawriter::IndexRecord*> headings;
    for (const auto& h : bible.headings)
        headings.emplace(Key{h.book, h.chapter, h.verse}, &h);
    std::multimap<Key, const datawriter::CrossRefRecord*> refs;
    for (const auto& x : bible.crossRefs)
        refs.emplace(Key{x.book, x.chapter, x.verse}, &x);

    const bool osis = form == XmlForm::OsisMilestones || form == XmlForm::OsisContainers;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (osis)
        out +=
            "<osis>\n"
            "<osisText osisIDWork=\"LSG\"><header><work osisWork=\"LSG\"><title>Louis Segond "
            "1910</title></work></header>\n";
    else if (form == XmlForm::Zefania)
        out +=
            "<XMLBIBLE biblename=\"LSG\"><INFORMATION><title>Louis Segond 1910</title>"
            "<language>FRA</language></INFORMATION>\n";
    else
        out += "<usfx xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";

    int book = 0, chapter = 0;
    std::string verseId;
    auto closeChapter = [&] {
        if (chapter == 0) return;
        if (osis)
            out += "</chapter>\n";
        else if (form == XmlForm::Zefania)
            out += "</CHAPTER>\n";
    };
    auto closeBook = [&] {
        if (book == 0) return;
        closeChapter();
        if (osis)
            out += "</div>\n";
        else if (form == XmlForm::Zefania)
            out += "</BIBLEBOOK>\n";
        else
            out += "</book>\n";
    };
    for (const auto& v : bible.verses) {
        const auto& canon = datawriter::kCanon[v.book - 1];
        if (v.book != book) {
            closeBook();
            book = v.book;
            chapter = 0;
            if (osis)
                out += "<div type=\"book\" osisID=\"" + std::string(canon.osis) +
                       "\"><title type=\"main\">" + std::string(canon.name) + "</title>\n";
            else if (form == XmlForm::Zefania)
                out += "<BIBLEBOOK bnumber=\"" + std::to_string(book) + "\" bname=\"" +
                       std::string(canon.name) + "\">\n";
            else
                out += "<book id=\"" + std::string(canon.code) + "\"><id id=\"" +
                       std::string(canon.code) + "\">LSG</id><h>" + std::string(canon.name) +
                       "</h>\n";
        }
        if (v.chapter != chapter) {
            closeChapter();
            chapter = v.chapter;
            const std::string id = std::string(canon.osis) + "." + std::to_string(chapter);
            if (osis)
                out += "<chapter osisID=\"" + id + "\">\n";
            else if (form == XmlForm::Zefania)
                out += "<CHAPTER cnumber=\"" + std::to_string(chapter) + "\">\n";
            else
                out += "<c id=\"" + std::to_string(chapter) + "\"/>\n";
        }
        const Key key{v.book, v.chapter, v.verse};
        for (auto [h, end] = headings.equal_range(key); h != end; ++h) {
            const std::string title = Escape(h->second->title);
            if (osis && h->second->kind == 'D')
                out += "<div type=\"majorSection\"><title>" + title + "</title></div>\n";
            else if (osis)
                out += "<title>" + title + "</title>\n";
            else if (form == XmlForm::Zefania)
                out += "<CAPTION>" + title + "</CAPTION>\n";
            else
                out += std::string(h->second->kind == 'D' ? "<ms>" : "<s>") + title +
                       (h->second->kind == 'D' ? "</ms>\n" : "</s>\n");
        }
        const std::string id = std::string(canon.osis) + "." + std::to_string(v.chapter) + "." +
                               std::to_string(v.verse);
        std::string notes;
        auto [x, end] = refs.equal_range(key);
        if (x != end) {
            if (osis) {
                notes = "<note type=\"crossReference\" n=\"a\">";
                for (auto k = x; k != end; ++k)
                    notes += "<reference osisRef=\"" + Osis(*k->second) + "\">" +
                             French(*k->second) + "</reference> ";
                notes += "</note>";
            } else if (form == XmlForm::Usfx) {
                notes = "<x caller=\"-\"><xo>" + std::to_string(v.chapter) + ":" +
                        std::to_string(v.verse) + "</xo><xt>";
                for (auto k = x; k != end; ++k)
                    notes += French(*k->second) + " ";
                notes += "</xt></x>";
            }
        }
        // The words of the verse, a note after its first word.
        std::string text = Escape(v.text);
        const std::size_t space = text.find(' ');
        text = space == std::string::npos ? text + notes
                                          : text.substr(0, space) + notes + text.substr(space);
        if (form == XmlForm::OsisMilestones)
            out += "<verse sID=\"" + id + "\" osisID=\"" + id + "\"/>" + text + "<verse eID=\"" +
                   id + "\"/>\n";
        else if (form == XmlForm::OsisContainers)
            out += "<verse osisID=\"" + id + "\">" + text + "</verse>\n";
        else if (form == XmlForm::Zefania)
            out += "<VERS vnumber=\"" + std::to_string(v.verse) + "\">" + text +
                   "<NOTE type=\"x-studynote\">Une note.</NOTE></VERS>\n";
        else
            out += "<v id=\"" + std::to_string(v.verse) + "\" bcv=\"" + id + "\"/>" + text +
                   "<f caller=\"+\"><fr>1</fr><ft>Une note.</ft></f><ve/>\n";
    }
    closeBook();
    if (osis)
        out += "</osisText></osis>\n";
    else if (form == XmlForm::Zefania)
        out += "</XMLBIBLE>\n";
    else
        out += "</usfx>\n";
    return out;
}

}  // namespace lorvane::testing
