// The tables at the head of an RTF document: the fonts with their code
// pages, the colours, the lists and their overrides.

#include <algorithm>

#include "RtfReading.h"

namespace lorvane::rtf::reading {

// A word of the font, colour and list tables; false when the word is none
// of theirs (in the body, \f and \ls are the group's properties).
bool Reader::TableWord(State& s, Kw kw, bool hasValue, int value) {
    switch (kw) {
        case Kw::Font:
            if (!hasValue || s.dest != Dest::FontTable) return false;
            if (fontOpen_) CommitFont();
            fontOpen_ = true;
            fontNumber_ = value;
            fontCodePage_ = 0;
            fontName_.clear();
            return true;
        case Kw::Ls:
            if (s.dest != Dest::ListOverrides) return false;
            if (s.override >= 0) {
                overrides_[static_cast<std::size_t>(s.override)].first = value;
                MapOverride(s.override);
            }
            return true;
        case Kw::FCharset:
            if (s.dest == Dest::FontTable && fontOpen_) fontCodePage_ = CodePageOfCharset(value);
            return true;
        case Kw::Cpg:
            if (s.dest == Dest::FontTable && fontOpen_ && value > 0 && value < 70000)
                fontCodePage_ = value;
            return true;
        case Kw::Red:
        case Kw::Green:
        case Kw::Blue:
            if (s.dest == Dest::ColorTable) {
                const auto c = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
                if (!pendingColor_) pendingColor_ = Color{};
                (kw == Kw::Red     ? pendingColor_->red
                 : kw == Kw::Green ? pendingColor_->green
                                   : pendingColor_->blue) = c;
            }
            return true;
        case Kw::List:
            if (s.dest == Dest::ListTable) {
                lists_.push_back(ListDef{});
                s.list = static_cast<int>(lists_.size()) - 1;
                s.level = false;
            }
            return true;
        case Kw::ListLevel:
            if (s.dest == Dest::ListTable && s.list >= 0) {
                lists_[static_cast<std::size_t>(s.list)].nfc.push_back(0);
                s.level = true;
            }
            return true;
        case Kw::LevelNfc:
            if (s.dest == Dest::ListTable && s.list >= 0 && s.level)
                lists_[static_cast<std::size_t>(s.list)].nfc.back() = value;
            return true;
        case Kw::ListId:
            if (s.dest == Dest::ListTable && s.list >= 0 && !s.level) {
                lists_[static_cast<std::size_t>(s.list)].id = value;
                listById_[value] = s.list;
            } else if (s.dest == Dest::ListOverrides && s.override >= 0) {
                overrides_[static_cast<std::size_t>(s.override)].second = value;
                MapOverride(s.override);
            }
            return true;
        case Kw::ListOverride:
            if (s.dest == Dest::ListOverrides) {
                overrides_.emplace_back(0, 0);
                s.override = static_cast<int>(overrides_.size()) - 1;
            }
            return true;
        default:
            return false;
    }
}

void Reader::CommitFont() {
    if (!fontOpen_) return;
    std::string name = fontName_;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    std::size_t lead = 0;
    while (lead < name.size() && name[lead] == ' ')
        ++lead;
    fonts_[fontNumber_] = FontEntry{name.substr(lead), fontCodePage_};
    fontOpen_ = false;
    fontName_.clear();
}

void Reader::MapOverride(int index) {
    const auto& [ls, id] = overrides_[static_cast<std::size_t>(index)];
    listOfOverride_[ls] = id;
}

void Reader::CommitColor() {
    colors_.push_back(pendingColor_);
    pendingColor_.reset();
}

}  // namespace lorvane::rtf::reading
