#pragma once

// What every reader's tagged words must keep to: no mark left in a verse's
// text, and each word's span inside the text of its verse.

#include "Usfm.h"
#include "WordTags.h"

inline bool TagsFit(const lorvane::importer::UsfmBook& book) {
    for (const auto& v : book.verses)
        if (v.text.find(lorvane::words::kWordOpen) != std::string::npos ||
            v.text.find(lorvane::words::kWordClose) != std::string::npos)
            return false;
    for (const auto& w : book.words) {
        bool fits = false;
        for (const auto& v : book.verses)
            if (v.chapter == w.chapter && v.verse == w.verse) {
                bool all = true;
                for (const auto& t : w.tags)
                    all = all && t.length > 0 && t.start + t.length <= v.text.size();
                fits = fits || all;
            }
        if (!fits || w.tags.empty()) return false;
    }
    return true;
}
