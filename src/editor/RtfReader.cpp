// The group walker of the RTF reader (RtfReading.h): braces push and pop
// the group states, control words and symbols are read and sent to the
// part of the reader they concern. Every step takes constant time but for
// the decoding of gathered bytes and the start of a run, both bounded by
// what was read, so the whole read is linear; nesting deeper than kMaxDepth
// is skipped, not stacked.

#include <algorithm>
#include <climits>

#include "Rtf.h"
#include "RtfReading.h"

namespace lorvane::rtf {
namespace reading {

Document Reader::Run() {
    stack_.push_back(State{});
    while (pos_ < in_.size() && !done_)
        Step();
    FlushBytes();
    if (!cur_.runs.empty() || doc_.paragraphs.empty()) {
        if (!hasContent_) {
            curPara_ = Top().para;
            curChr_ = Top().chr;
        }
        EndParagraph(curPara_, curChr_);
    }
    return std::move(doc_);
}

void Reader::Step() {
    const unsigned char c = static_cast<unsigned char>(in_[pos_++]);
    switch (c) {
        case '{':
            FlushBytes();
            skip_ = 0;
            Push();
            return;
        case '}':
            FlushBytes();
            skip_ = 0;
            Pop();
            return;
        case '\\':
            ControlWord();
            return;
        case '\r':
        case '\n':
            return;
        default:
            break;
    }
    if (Skipping()) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (c >= 0x80) {
        Byte(c);
        return;
    }
    FlushBytes();
    if (c == '\t') {
        Emit('\t');
        return;
    }
    if (c < 0x20) return;
    if (c == ';') {
        if (Top().dest == Dest::FontTable) {
            CommitFont();
            return;
        }
        if (Top().dest == Dest::ColorTable) {
            CommitColor();
            return;
        }
    }
    Emit(c);
}

void Reader::Push() {
    if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    State s = Top();
    s.star = false;
    stack_.push_back(s);
}

void Reader::Pop() {
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.size() <= 2) {
        // The document's own group closes: the rest is not RTF.
        done_ = true;
        return;
    }
    const State popped = stack_.back();
    stack_.pop_back();
    State& parent = Top();
    // A font entry may end with its group instead of ';'.
    if (popped.dest == Dest::FontTable && (!fontName_.empty() || parent.dest != Dest::FontTable))
        CommitFont();
    if (popped.dest == Dest::Pn && parent.dest != Dest::Pn)
        parent.para.pn = popped.pnKind == Numbering::None ? Numbering::Numbered : popped.pnKind;
}

// A control word or symbol after its backslash.
void Reader::ControlWord() {
    if (pos_ >= in_.size()) return;
    const char first = in_[pos_];
    if (!IsLetter(first)) {
        ++pos_;
        Symbol(first);
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_]))
        ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);
    bool hasValue = false;
    bool negative = false;
    long long value = 0;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        hasValue = true;
        if (value < 100000000000LL) value = value * 10 + (in_[pos_] - '0');
        ++pos_;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    value = std::clamp(negative ? -value : value, static_cast<long long>(INT_MIN),
                       static_cast<long long>(INT_MAX));
    Word(word, hasValue, static_cast<int>(value));
}

void Reader::Symbol(char c) {
    if (c == '\'') {
        if (pos_ + 1 < in_.size() && Hex(in_[pos_]) >= 0 && Hex(in_[pos_ + 1]) >= 0) {
            const int byte = Hex(in_[pos_]) * 16 + Hex(in_[pos_ + 1]);
            pos_ += 2;
            if (Skipping()) return;
            if (skip_ > 0) {
                --skip_;
                return;
            }
            Byte(static_cast<unsigned char>(byte));
        }
        return;
    }
    FlushBytes();
    if (Skipping()) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (c == '*') {
        Top().star = true;
        return;
    }
    switch (c) {
        case '\\':
        case '{':
        case '}':
            Emit(static_cast<unsigned char>(c));
            return;
        case '~':
            Emit(0x00A0);
            return;
        case '_':
            Emit(0x2011);
            return;
        case '\r':
        case '\n':
            Paragraph();
            return;
        default:
            return;  // \- \: \| and the unknown
    }
}

void Reader::Word(std::string_view word, bool hasValue, int value) {
    FlushBytes();
    const auto& table = Keywords();
    const auto it = table.find(word);
    if (it != table.end() && it->second.kw == Kw::Bin) {
        // Binary data: its bytes are not RTF, whatever they hold.
        const std::size_t n = hasValue && value > 0 ? static_cast<std::size_t>(value) : 0;
        pos_ += std::min(n, in_.size() - pos_);
        return;
    }
    if (Skipping()) return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    State& s = Top();
    const bool star = s.star;
    s.star = false;
    if (it == table.end()) {
        if (star) s.dest = Dest::Skip;
        return;
    }
    const KwInfo info = it->second;
    if (star && info.kw != Kw::Pn && info.kw != Kw::ListTable && info.kw != Kw::ListOverrideTable) {
        s.dest = Dest::Skip;
        return;
    }
    switch (info.kw) {
        case Kw::SkipDest:
            s.dest = Dest::Skip;
            return;
        case Kw::FontTable:
            s.dest = Dest::FontTable;
            return;
        case Kw::ColorTable:
            s.dest = Dest::ColorTable;
            return;
        case Kw::ListTable:
            s.dest = Dest::ListTable;
            return;
        case Kw::ListOverrideTable:
            s.dest = Dest::ListOverrides;
            return;
        case Kw::ListText:
            if (s.dest == Dest::Body) {
                s.dest = Dest::ListText;
                listText_.clear();
            }
            return;
        case Kw::Pn:
            s.dest = Dest::Pn;
            s.pnKind = Numbering::None;
            return;
        case Kw::Object:
            s.dest = Dest::Object;
            return;
        case Kw::Result:
            if (s.dest == Dest::Object) s.dest = Dest::Body;
            return;
        case Kw::Par:
            Paragraph();
            return;
        case Kw::Line:
            Emit('\n');
            return;
        case Kw::Tab:
        case Kw::Cell:
            Emit('\t');
            return;
        case Kw::Char:
            Emit(info.ch);
            return;
        case Kw::U: {
            int unit = value;
            if (unit < 0) unit += 0x10000;
            if (hasValue && unit >= 0 && unit <= 0xFFFF) Unit(static_cast<char32_t>(unit));
            skip_ = s.uc;
            return;
        }
        case Kw::Uc:
            s.uc = std::clamp(value, 0, kMaxUc);
            return;
        case Kw::Bin:
            return;
        default:
            break;
    }
    if (TableWord(s, info.kw, hasValue, value)) return;
    if (ParagraphWord(s, info.kw, value)) return;
    CharacterWord(s, info.kw, hasValue, value);
}

}  // namespace reading

bool IsRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

Document Read(std::string_view bytes) {
    if (!IsRtf(bytes)) return reading::ReadPlainText(bytes);
    return reading::Reader(bytes).Run();
}

}  // namespace lorvane::rtf
