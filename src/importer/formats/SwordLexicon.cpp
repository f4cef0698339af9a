#include "SwordLexicon.h"

#include <swmgr.h>
#include <swmodule.h>

#include <memory>
#include <set>

#include "Reasons.h"
#include "StrongNumber.h"
#include "StrongsLexicon.h"

namespace lorvane::importer {

namespace {

std::string ConfigEntry(sword::SWModule& module, const char* key) {
    const char* value = module.getConfigEntry(key);
    return value ? value : "";
}

// The language of a Strong's lexicon, from its features (GreekDef,
// HebrewDef); 0 when it is not one.
char LanguageOf(sword::SWModule& module) {
    const sword::ConfigEntMap& config = module.getConfig();
    const auto [first, last] = config.equal_range("Feature");
    for (auto it = first; it != last; ++it) {
        if (it->second == "GreekDef") return 'G';
        if (it->second == "HebrewDef") return 'H';
    }
    return 0;
}

StrongsLexicon ReadLexicon(sword::SWMgr& mgr, const std::string& name, Report& report) {
    sword::SWModule* module = mgr.getModule(name.c_str());
    if (!module)
        throw ImportError("Le module SWORD « " + name +
                          " » n'est pas installé (paquets sword-dict-strongs-greek et "
                          "sword-dict-strongs-hebrew).");
    StrongsLexicon out;
    out.language = LanguageOf(*module);
    if (out.language == 0)
        throw ImportError("Le module SWORD « " + name +
                          " » n'est pas un dictionnaire de Strong grec ou hébreu.");
    std::string about = ConfigEntry(*module, "Description");
    about += " (" + name;
    if (const std::string version = ConfigEntry(*module, "Version"); !version.empty())
        about += " " + version;
    about += ")";
    if (const std::string licence = ConfigEntry(*module, "DistributionLicense"); !licence.empty())
        about += ", " + licence;
    out.about.push_back(about);

    std::set<std::string> seen;
    for (module->setPosition(sword::TOP); !module->popError(); module->increment()) {
        const std::string key = module->getKeyText();
        const std::string number = words::NormaliseStrong(key, out.language);
        if (number.empty()) {
            ++out.leftOut;
            report.Warn("keys that are not Strong's numbers, left out", key, 20);
            continue;
        }
        if (!seen.insert(number).second) continue;  // one entry listed twice in the index
        const std::string raw = module->getRawEntry();
        std::optional<words::StrongsEntry> entry = StrongsEntryFromTei(raw, number);
        if (!entry) {
            ++out.leftOut;
            report.Warn("entries whose markup does not read, left out", key, 20);
            continue;
        }
        out.entries.push_back(std::move(*entry));
    }
    if (out.entries.empty())
        throw ImportError("Le dictionnaire SWORD « " + name + " » n'a aucune entrée lisible.");
    report.Summary(name + ": " + std::to_string(out.entries.size()) + " entries, " +
                   std::to_string(out.leftOut) + " left out");
    return out;
}

}  // namespace

StrongsLexicon ImportStrongsLexicon(const std::string& module, Report& report) {
    sword::SWMgr mgr;
    return ReadLexicon(mgr, module, report);
}

StrongsLexicon ImportStrongsLexiconLibrary(const std::filesystem::path& root,
                                           const std::string& module, Report& report) {
    sword::SWMgr mgr(root.c_str(), true, nullptr, false, false);
    return ReadLexicon(mgr, module, report);
}

std::string StrongsFileOf(const StrongsLexicon& lexicon) {
    std::vector<std::string> comments = lexicon.about;
    comments.push_back(std::string("Strong's ") + (lexicon.language == 'G' ? "Greek" : "Hebrew") +
                       " dictionary, one entry a line: number, word, transliteration, "
                       "pronunciation, definition (English), separated by tabs.");
    return words::FormatStrongsFile(lexicon.entries, comments);
}

}  // namespace lorvane::importer
