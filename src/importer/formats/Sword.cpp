#include "Sword.h"

#include <bz2comprs.h>
#include <listkey.h>
#include <localemgr.h>
#include <lzsscomprs.h>
#include <markupfiltmgr.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <xzcomprs.h>
#include <zipcomprs.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "BibleText.h"
#include "Canon.h"
#include "Cp1252.h"
#include "Osis.h"
#include "UsfmSource.h"  // ImportError

namespace lorvane::importer {
namespace {

constexpr const char* kBibleType = "Biblical Texts";

struct PendingRefs {
    int book, chapter, verse;
    std::string key;  // the verse as SWORD names it, the context of the parse
    std::vector<std::string> refs;
};

// A SWORD manager with every option of the filters off: plain text without
// notes, headings, Strong's numbers or red letters.
std::unique_ptr<sword::SWMgr> PlainManager() {
    auto mgr = std::make_unique<sword::SWMgr>(new sword::MarkupFilterMgr(sword::FMT_PLAIN));
    for (const sword::SWBuf& option : mgr->getGlobalOptions())
        mgr->setGlobalOption(option.c_str(), "Off");
    return mgr;
}

std::unique_ptr<sword::SWCompress> Decompressor(const std::string& compression) {
    if (compression == "ZIP") return std::make_unique<sword::ZipCompress>();
    if (compression == "LZSS") return std::make_unique<sword::LZSSCompress>();
    if (compression == "BZIP2") return std::make_unique<sword::Bzip2Compress>();
    if (compression == "XZ") return std::make_unique<sword::XzCompress>();
    return nullptr;
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

void CheckSwordBlocks(const std::filesystem::path& dataFolder, const std::string& compression) {
    const auto decompressor = Decompressor(compression);
    if (!decompressor) return;
    for (const char* t : {"ot", "nt"}) {
        for (const char* kind : {"b", "c", "v"}) {
            const std::string base = (dataFolder / t).string() + "." + kind + "z";
            std::error_code ec;
            if (!std::filesystem::is_regular_file(base + "s", ec)) continue;
            const std::string blocks = ReadBytes(base + "s");
            const std::string data = ReadBytes(base + "z");
            for (std::size_t at = 0; at + 12 <= blocks.size(); at += 12) {
                const std::uint64_t offset = Le32(blocks, at), size = Le32(blocks, at + 4);
                const std::uint32_t inflated = Le32(blocks, at + 8);
                if (inflated == 0) continue;
                unsigned long given = 0;
                if (size > 0 && offset + size <= data.size()) {
                    std::string compressed = data.substr(offset, size);
                    unsigned long length = size;
                    decompressor->setCompressedBuf(&length, compressed.data());
                    decompressor->getUncompressedBuf(&given);
                }
                if (given >= inflated) continue;
                const std::string file = std::string(t) + "." + kind + "zz";
                std::cerr << "lorvane-sword-import: block " << at / 12 << " of " << file
                          << " gives " << given << " bytes of " << inflated << "\n";
                throw ImportError("Ce module SWORD est endommagé : le texte de son " +
                                  std::string(t[0] == 'o' ? "Ancien" : "Nouveau") +
                                  " Testament (« " + file + " ») ne se décompresse pas.");
            }
        }
    }
}

std::vector<std::string> SwordBibles() {
    auto mgr = PlainManager();
    std::vector<std::string> out;
    for (const auto& [name, module] : mgr->getModules())
        if (std::string(module->getType()) == kBibleType) out.emplace_back(name.c_str());
    return out;
}

BibleData ImportSword(const std::string& moduleName, Report& report) {
    auto mgr = PlainManager();
    sword::SWModule* module = mgr->getModule(moduleName.c_str());
    if (!module) {
        std::string installed;
        for (const std::string& name : SwordBibles())
            installed += (installed.empty() ? "" : ", ") + name;
        throw std::runtime_error("SWORD module " + moduleName + " is not installed (Bibles: " +
                                 (installed.empty() ? "none" : installed) + ")");
    }
    return ImportSwordModule(*module, false, report);
}

BibleData ImportSwordLibrary(const std::filesystem::path& root, const std::string& moduleName,
                             Report& report) {
    // Only the library at root: neither the user's nor the system's.
    sword::SWMgr mgr(root.c_str(), true, new sword::MarkupFilterMgr(sword::FMT_PLAIN), false,
                     false);
    for (const sword::SWBuf& option : mgr.getGlobalOptions())
        mgr.setGlobalOption(option.c_str(), "Off");
    sword::SWModule* module = mgr.getModule(moduleName.c_str());
    if (!module) throw std::runtime_error("SWORD module " + moduleName + " does not open");
    return ImportSwordModule(*module, true, report);
}

BibleData ImportSwordModule(sword::SWModule& mod, bool partial, Report& report) {
    sword::SWModule* module = &mod;
    const std::string moduleName = module->getName();
    if (std::string(module->getType()) != kBibleType)
        throw std::runtime_error("SWORD module " + moduleName + " is not a Bible");
    const char* sourceType = module->getConfigEntry("SourceType");
    const bool osis = sourceType && std::string(sourceType) == "OSIS";
    if (!osis) {
        report.Warn("markup other than OSIS: headings and cross-references not read",
                    std::string(sourceType ? sourceType : "plain"));
    }

    std::unique_ptr<sword::VerseKey> key(dynamic_cast<sword::VerseKey*>(module->createKey()));
    if (!key) throw std::runtime_error("SWORD module " + moduleName + " has no verse keys");
    const char* lang = module->getLanguage();
    if (lang && sword::LocaleMgr::getSystemLocaleMgr()->getLocale(lang)) key->setLocale(lang);
    key->setIntros(false);

    TextConverter text;
    BibleData bible;
    bible.source = "SWORD module " + moduleName + " (" + module->getDescription() +
                   ", versification " + key->getVersificationSystem() + ")";
    bible.numbering = key->getVersificationSystem();
    bible.books.resize(kBooks);
    std::vector<PendingRefs> pending;
    std::vector<bool> seenBook(kBooks + 1, false);
    std::string skippedBook;

    for (key->setPosition(sword::TOP); !key->popError(); key->increment()) {
        const int book = datawriter::BookNumberOfOsis(key->getOSISBookName());
        if (book == 0) {
            if (skippedBook != key->getOSISBookName()) {
                skippedBook = key->getOSISBookName();
                report.Warn("books outside the 66, skipped",
                            skippedBook + " (" + key->getBookName() + ")", 40);
            }
            continue;
        }
        const int chapter = key->getChapter(), verse = key->getVerse();
        const std::string place = key->getText();
        if (!seenBook[book]) {
            seenBook[book] = true;
            bible.books[book - 1] = {text.Convert(key->getBookName(), place),
                                     text.Convert(key->getBookAbbrev(), place), 0};
        }
        if (chapter < 1 || chapter > kMaxChapter || verse < 1 || verse > kMaxVerse) {
            report.Warn("verses beyond chapter 150 or verse 176, skipped", place);
            continue;
        }
        module->setKey(*key);
        std::string raw = module->getRawEntry();
        if (raw.find_first_not_of(" \t\r\n") == std::string::npos) {
            report.Warn("verses of the versification without text in the module, skipped", place);
            continue;
        }
        std::string plain;
        std::vector<words::WordTag> tags;
        if (osis) {
            for (const std::string& title : OsisTitles(raw)) {
                std::string t = text.Convert(title, place);
                if (!t.empty()) bible.headings.push_back({'E', book, chapter, verse, t});
            }
            for (std::vector<std::string>& refs : OsisCrossRefs(raw))
                pending.push_back({book, chapter, verse, place, std::move(refs)});
            // The words straight from the markup: libsword's filter chain
            // costs thirty times as much for the same text.
            plain = OsisPlainText(raw, tags, book <= 39);
        } else {
            plain = module->renderText().c_str();
            words::DropWordMarks(plain);
        }
        std::string converted = text.Convert(plain, place);
        words::VerseWords kept = words::PlaceTags(book, chapter, verse, converted, tags);
        if (!kept.tags.empty()) bible.words.push_back(std::move(kept));
        bible.verses.push_back({book, chapter, verse, std::move(converted)});
        bible.books[book - 1].chapterCount = std::max(bible.books[book - 1].chapterCount, chapter);
    }

    std::string missing;
    for (int b = 1; b <= kBooks; ++b)
        if (!seenBook[b]) missing += " " + std::string(datawriter::kCanon[b - 1].osis);
    if (bible.verses.empty())
        throw std::runtime_error("SWORD module " + moduleName + " has no verse of the 66 books");
    if (!missing.empty() && !partial)
        throw std::runtime_error("SWORD module " + moduleName + " lacks the books" + missing);

    // Cross-references, now that every verse is known.
    VerseIndex index(bible.verses);
    int kept = 0, unread = 0, missingVerse = 0, outside = 0;
    sword::VerseKey parser(*key);
    for (const PendingRefs& p : pending) {
        for (const std::string& ref : p.refs) {
            sword::ListKey list = parser.parseVerseList(ref.c_str(), p.key.c_str(), true);
            // Words before the reference ("See Job 9:8") are passed over.
            for (std::size_t space = ref.find(' ');
                 list.getCount() == 0 && space != std::string::npos;
                 space = ref.find(' ', space + 1))
                list = parser.parseVerseList(ref.c_str() + space + 1, p.key.c_str(), true);
            if (list.getCount() == 0) {
                ++unread;
                report.Warn("cross-reference targets not understood, skipped",
                            p.key + ": \"" + ref + "\"", 40);
                continue;
            }
            for (int i = 0; i < list.getCount(); ++i) {
                auto* target = dynamic_cast<sword::VerseKey*>(list.getElement(i));
                if (!target) {
                    ++unread;
                    continue;
                }
                sword::VerseKey lower = target->getLowerBound();
                sword::VerseKey upper = target->getUpperBound();
                if (!target->isBoundSet()) lower = upper = *target;
                const int tb = datawriter::BookNumberOfOsis(lower.getOSISBookName());
                if (tb == 0 || tb != datawriter::BookNumberOfOsis(upper.getOSISBookName())) {
                    ++outside;
                    continue;
                }
                // A range over several chapters becomes one record per chapter.
                for (int c = lower.getChapter(); c <= upper.getChapter() && c <= kMaxChapter; ++c) {
                    int first = c == lower.getChapter() ? lower.getVerse() : 1;
                    int last = c == upper.getChapter() ? upper.getVerse() : index.LastVerse(tb, c);
                    if (last == first) last = 0;
                    if (!index.HasTarget(tb, c, first, last)) {
                        ++missingVerse;
                        report.Warn(
                            "cross-reference targets naming a verse the text lacks, skipped",
                            p.key + " -> " + Place(tb, c, first), 40);
                        continue;
                    }
                    ++kept;
                    bible.crossRefs.push_back({p.book, p.chapter, p.verse, 0, tb, c, first, last});
                }
            }
        }
    }
    report.Info("cross-reference notes: " + std::to_string(pending.size()) + ", records kept: " +
                std::to_string(kept) + ", not understood: " + std::to_string(unread) +
                ", naming missing verses: " + std::to_string(missingVerse) +
                ", outside the 66 books: " + std::to_string(outside));
    for (int b = 1; b <= kBooks; ++b)
        for (int c = 1; c <= bible.books[b - 1].chapterCount; ++c)
            if (!index.Has(b, c, 1)) report.Warn("chapters without a verse 1", Place(b, c, 1));
    text.ReportTo(report);
    FinishBible(bible, report);
    return bible;
}

}  // namespace lorvane::importer
