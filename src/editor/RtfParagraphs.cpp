// The paragraphs of an RTF document: their properties, the list each is
// an item of, and their end.

#include <algorithm>

#include "RtfReading.h"

namespace lorvane::rtf::reading {

// The paragraph properties of the group; false when the word is none.
bool Reader::ParagraphWord(State& s, Kw kw, int value) {
    switch (kw) {
        case Kw::Pard:
            s.para = Para{};
            return true;
        case Kw::Ql:
            s.para.format.alignment = Alignment::Left;
            return true;
        case Kw::Qr:
            s.para.format.alignment = Alignment::Right;
            return true;
        case Kw::Qc:
            s.para.format.alignment = Alignment::Center;
            return true;
        case Kw::Qj:
            s.para.format.alignment = Alignment::Justify;
            return true;
        case Kw::Li:
            s.para.format.leftIndent = std::clamp(value, -kMaxIndent, kMaxIndent);
            return true;
        case Kw::Fi:
            s.para.format.firstLineIndent = std::clamp(value, -kMaxIndent, kMaxIndent);
            return true;
        case Kw::Ilvl:
            s.para.ilvl = std::clamp(value, 0, 8);
            return true;
        case Kw::PnBullet:
            if (s.dest == Dest::Pn) s.pnKind = Numbering::Bullet;
            return true;
        case Kw::PnBody:
            if (s.dest == Dest::Pn) s.pnKind = Numbering::Numbered;
            return true;
        case Kw::PnCont:
            if (s.dest == Dest::Pn) s.pnKind = Numbering::Numbered;
            return true;
        case Kw::Ls:
            s.para.ls = value;
            return true;
        default:
            return false;
    }
}

void Reader::Paragraph() {
    const State& s = Top();
    if (s.dest == Dest::Body) EndParagraph(s.para, s.chr);
}

// What list a paragraph is an item of, if any.
Numbering Reader::ListOf(const Para& p) const {
    if (p.pn != Numbering::None) return p.pn;
    if (p.ls <= 0) return Numbering::None;
    if (const auto o = listOfOverride_.find(p.ls); o != listOfOverride_.end()) {
        if (const auto l = listById_.find(o->second); l != listById_.end()) {
            const ListDef& list = lists_[static_cast<std::size_t>(l->second)];
            if (!list.nfc.empty()) {
                const std::size_t level =
                    std::min(static_cast<std::size_t>(p.ilvl), list.nfc.size() - 1);
                return list.nfc[level] == 23 ? Numbering::Bullet : Numbering::Numbered;
            }
        }
    }
    // A list the tables do not describe: a bullet unless its text
    // holds a number.
    for (const rtf::Run& r : listText_)
        for (char c : r.text)
            if (IsDigit(c)) return Numbering::Numbered;
    return Numbering::Bullet;
}

void Reader::EndParagraph(const Para& para, const Chr& mark) {
    FlushBytes();
    cur_.format = para.format;
    const Numbering list = ListOf(para);
    cur_.format.bullet = list == Numbering::Bullet;
    cur_.format.numbered = list == Numbering::Numbered;
    cur_.mark = Resolve(mark);
    // The number or bullet written out is the list's own: kept as text
    // only when the paragraph is in no list.
    if (list == Numbering::None && !listText_.empty())
        cur_.runs.insert(cur_.runs.begin(), listText_.begin(), listText_.end());
    doc_.paragraphs.push_back(std::move(cur_));
    cur_ = rtf::Paragraph{};
    listText_.clear();
    runOpen_ = false;
    hasContent_ = false;
}

}  // namespace lorvane::rtf::reading
