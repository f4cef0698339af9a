#include "SwordCommentary.h"

#include <listkey.h>
#include <markupfiltmgr.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>

#include <memory>

#include "Canon.h"
#include "CommentaryHtml.h"
#include "Numbering.h"
#include "UsfmSource.h"  // ImportError

namespace lorvane::importer {
namespace {

bool Blank(const std::string& s) {
    return s.find_first_not_of(" \t\r\n") == std::string::npos;
}

// The verses of one chapter that share one text.
struct Run {
    int book = 0, chapter = 0, first = 0, last = 0;
    std::string raw;
};

}  // namespace

SwordCommentary ImportSwordCommentary(const std::filesystem::path& root,
                                      const std::string& moduleName, const SwordBadVerses& bad,
                                      Report& report) {
    sword::SWMgr mgr(root.c_str(), true, new sword::MarkupFilterMgr(sword::FMT_PLAIN), false,
                     false);
    for (const sword::SWBuf& option : mgr.getGlobalOptions())
        mgr.setGlobalOption(option.c_str(), "Off");
    sword::SWModule* module = mgr.getModule(moduleName.c_str());
    if (!module) throw ImportError("Ce module SWORD ne s'ouvre pas : il est peut-être endommagé.");
    std::unique_ptr<sword::VerseKey> key(dynamic_cast<sword::VerseKey*>(module->createKey()));
    if (!key) throw ImportError("Ce commentaire SWORD n'est pas rangé par versets.");
    key->setIntros(false);
    const char* sourceType = module->getConfigEntry("SourceType");
    const std::string markup = sourceType ? sourceType : "";
    const bool osis = markup == "OSIS", thml = markup == "ThML";

    SwordCommentary out;
    out.numbering = key->getVersificationSystem();
    const Numbering* from = KnownNumberings().Find(out.numbering);
    if (!from) {
        report.Warn("versification not known, taken as the Segond's", out.numbering);
        from = &KnownNumberings().Segond();
    }
    const Numbering& segond = KnownNumberings().Segond();

    // References are read in the context of the entry's verse.
    sword::VerseKey parser(*key);
    std::string context;
    const ReferenceResolver resolve = [&](const std::string& ref) -> std::optional<LinkTarget> {
        sword::ListKey list = parser.parseVerseList(ref.c_str(), context.c_str(), true);
        if (list.getCount() == 0) return std::nullopt;
        auto* target = dynamic_cast<sword::VerseKey*>(list.getElement(0));
        if (!target) return std::nullopt;
        sword::VerseKey lower = target->isBoundSet() ? target->getLowerBound() : *target;
        sword::VerseKey upper = target->isBoundSet() ? target->getUpperBound() : *target;
        const int book = datawriter::BookNumberOfOsis(lower.getOSISBookName());
        if (book == 0) return std::nullopt;
        const VersePlace s = Renumber(
            PlaceOf(book, lower.getChapter(), std::max(1, lower.getVerse())), *from, segond);
        if (s == 0) return std::nullopt;
        LinkTarget t{BookOf(s), ChapterOf(s), VerseOf(s), 0};
        if (book == datawriter::BookNumberOfOsis(upper.getOSISBookName()) &&
            upper.getChapter() == lower.getChapter() && upper.getVerse() > lower.getVerse())
            t.last = VerseOf(s) + (upper.getVerse() - lower.getVerse());
        return t;
    };

    // Writes a run, checked, as entries in the Segond's numbering.
    auto keep = [&](const Run& run) {
        if (run.raw.empty()) return;
        if (!HeadingAgrees(MarkupText(run.raw), run.chapter, run.first, run.last)) {
            ++out.leftOut;
            report.Warn("entries whose heading names other verses, left out",
                        std::string(datawriter::kCanon[run.book - 1].osis) + " " +
                            std::to_string(run.chapter) + ":" + std::to_string(run.first),
                        20);
            return;
        }
        context = std::string(datawriter::kCanon[run.book - 1].osis) + " " +
                  std::to_string(run.chapter) + ":" + std::to_string(run.first);
        std::optional<std::string> html;
        if (osis || thml) html = MarkupToHtml(run.raw, thml, resolve);
        if (markup == "GBF") html = GbfToHtml(run.raw);
        if (!html) {
            sword::VerseKey at(*key);
            at.setText(context.c_str());
            module->setKey(at);
            html = PlainToHtml(module->renderText().c_str());
        }
        if (MarkupText(*html).find_first_not_of(" \t\r\n") == std::string::npos)
            return;  // markup without a word
        if (html->size() > commentary::kMaxEntryBytes) {
            ++out.leftOut;
            return;
        }
        commentary::CommentaryEntry entry;
        for (int v = run.first; v <= run.last; ++v) {
            const VersePlace s = from->ToSegond(PlaceOf(run.book, run.chapter, v));
            if (s == 0) continue;
            if (entry.first != 0 && (s & ~VersePlace{0xFF}) == (entry.first & ~VersePlace{0xFF}) &&
                VerseOf(s) == entry.lastVerse + 1) {
                entry.lastVerse = VerseOf(s);
                continue;
            }
            if (entry.first != 0) out.entries.push_back(entry);
            entry = {s, VerseOf(s), *html};
        }
        if (entry.first != 0) out.entries.push_back(std::move(entry));
    };

    Run run;
    for (key->setPosition(sword::TOP); !key->popError(); key->increment()) {
        const int book = datawriter::BookNumberOfOsis(key->getOSISBookName());
        const int chapter = key->getChapter(), verse = key->getVerse();
        if (book == 0 || chapter < 1 || chapter > 150 || verse < 1 || verse > 176) continue;
        const auto& badOnes = key->getTestament() == 1 ? bad.ot : bad.nt;
        std::string raw;
        if (badOnes.count(key->getTestamentIndex())) {
            ++out.leftOut;
            report.Warn("entries whose index points outside the data, left out", key->getText(),
                        20);
        } else {
            module->setKey(*key);
            raw = module->getRawEntry();
        }
        if (Blank(raw)) {
            // An index that says there is text where none reads.
            if (!badOnes.count(key->getTestamentIndex()) && module->getEntrySize() != 0) {
                ++out.leftOut;
                report.Warn("entries that do not read, left out", key->getText(), 20);
            }
            raw.clear();
        }
        if (!raw.empty() && run.book == book && run.chapter == chapter && run.last + 1 == verse &&
            run.raw == raw) {
            run.last = verse;
            continue;
        }
        keep(run);
        run = {book, chapter, verse, verse, std::move(raw)};
    }
    keep(run);
    if (out.entries.empty())
        throw ImportError(out.leftOut > 0
                              ? "Ce commentaire SWORD n'a aucune entrée lisible et bien placée (" +
                                    std::to_string(out.leftOut) +
                                    " laissées de côté) : son index est peut-être endommagé."
                              : "Ce commentaire SWORD n'a aucune entrée sur les 66 livres de la "
                                "Bible.");
    return out;
}

}  // namespace lorvane::importer
