// The characters of an RTF document: their properties, the bytes and
// \uN units they come as, and the runs of the text they make. Bytes given
// as \'hh (or raw bytes above 127) are gathered and decoded in the code
// page of the current font's character set, or of the document.

#include <algorithm>

#include "RtfReading.h"
#include "Utf8.h"

namespace lorvane::rtf::reading {
namespace {

// The properties a character is drawn with.
Chr Effective(const Chr& chr, char32_t cp) {
    Chr e = chr;
    if (e.dbch && cp >= 0x2E80) {
        if (e.assocFont >= 0) e.font = e.assocFont;
        e.halfPoints = e.assocHalfPoints;
    }
    e.dbch = false;
    e.assocFont = -1;
    e.assocHalfPoints = 24;
    return e;
}

}  // namespace

// The character properties of the group, and the document's code page
// and default font.
void Reader::CharacterWord(State& s, Kw kw, bool hasValue, int value) {
    const int v = hasValue ? value : 1;
    switch (kw) {
        case Kw::Font:
            if (hasValue) s.chr.font = value;
            return;
        case Kw::Plain:
            s.chr = Chr{};
            return;
        case Kw::Bold:
            s.chr.bold = v != 0;
            return;
        case Kw::Italic:
            s.chr.italic = v != 0;
            return;
        case Kw::Underline:
            s.chr.underline = v != 0;
            return;
        case Kw::UlNone:
            s.chr.underline = false;
            return;
        case Kw::Hidden:
            s.chr.hidden = v != 0;
            return;
        case Kw::FontSize:
            if (hasValue && value > 0)
                s.chr.halfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
            return;
        case Kw::Loch:
            s.chr.dbch = false;
            return;
        case Kw::Dbch:
            s.chr.dbch = true;
            return;
        case Kw::AssocFont:
            if (hasValue) s.chr.assocFont = value;
            return;
        case Kw::AssocSize:
            if (hasValue && value > 0)
                s.chr.assocHalfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
            return;
        case Kw::ColorFg:
            s.chr.color = hasValue ? value : 0;
            return;
        case Kw::Up:
            s.chr.offset = std::clamp(hasValue ? value : 6, 0, kMaxOffset);
            return;
        case Kw::Dn:
            s.chr.offset = -std::clamp(hasValue ? value : 6, 0, kMaxOffset);
            return;
        case Kw::Super:
            s.chr.offset = 6;
            return;
        case Kw::Sub:
            s.chr.offset = -6;
            return;
        case Kw::NoSuperSub:
            s.chr.offset = 0;
            return;
        case Kw::Ansi:
            codePage_ = 1252;
            return;
        case Kw::Mac:
            codePage_ = 10000;
            return;
        case Kw::Pc:
            codePage_ = 437;
            return;
        case Kw::Pca:
            codePage_ = 850;
            return;
        case Kw::AnsiCpg:
            if (hasValue && value > 0 && value < 70000) codePage_ = value;
            return;
        case Kw::Deff:
            deff_ = value;
            return;
        default:
            return;
    }
}

// One UTF-16 unit of \uN: surrogate pairs are joined, lone halves
// become U+FFFD.
void Reader::Unit(char32_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (highSurrogate_) Emit(utf8::kReplacement);
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (highSurrogate_) {
            const char32_t cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
            highSurrogate_ = 0;
            Emit(cp);
        } else {
            Emit(utf8::kReplacement);
        }
        return;
    }
    Emit(unit);
}

int Reader::CurrentCodePage() {
    const State& s = Top();
    int cp = 0;
    if (s.dest == Dest::FontTable && fontOpen_) {
        cp = fontCodePage_;
    } else {
        const auto it = fonts_.find(s.chr.font < 0 ? deff_ : s.chr.font);
        if (it != fonts_.end()) cp = it->second.codePage;
    }
    return cp != 0 ? cp : codePage_;
}

void Reader::Byte(unsigned char b) {
    const int cp = CurrentCodePage();
    if (!bytes_.empty() && cp != bytesCodePage_) FlushBytes();
    bytesCodePage_ = cp;
    bytes_ += static_cast<char>(b);
}

void Reader::FlushBytes() {
    if (bytes_.empty()) return;
    const std::string bytes = std::move(bytes_);
    bytes_.clear();
    decoders_.Decode(bytesCodePage_, bytes, [&](char32_t cp) { Emit(cp); });
}

// A character of the current destination.
void Reader::Emit(char32_t cp) {
    if (highSurrogate_ && (cp < 0xDC00 || cp > 0xDFFF)) {
        highSurrogate_ = 0;
        Emit(utf8::kReplacement);
    }
    State& s = Top();
    switch (s.dest) {
        case Dest::Body: {
            if (s.chr.hidden) return;
            if ((cp < 0x20 && cp != '\t' && cp != '\n') || cp == 0x7F) return;
            const Chr chr = Effective(s.chr, cp);
            if (!runOpen_ || !(runChr_ == chr)) StartRun(chr);
            utf8::Append(cur_.runs.back().text, cp);
            curPara_ = s.para;
            curChr_ = s.chr;
            hasContent_ = true;
            return;
        }
        case Dest::FontTable:
            if (fontOpen_ && cp >= 0x20 && fontName_.size() < kMaxFontName)
                utf8::Append(fontName_, cp);
            return;
        case Dest::ListText:
            if ((cp < 0x20 && cp != '\t') || cp == 0x7F) return;
            if (listText_.empty() || !(listText_.back().format == Resolve(s.chr)))
                listText_.push_back(rtf::Run{Resolve(s.chr), {}});
            utf8::Append(listText_.back().text, cp);
            return;
        default:
            return;
    }
}

void Reader::StartRun(const Chr& chr) {
    CharFormat f = Resolve(chr);
    if (cur_.runs.empty() || !(cur_.runs.back().format == f))
        cur_.runs.push_back(rtf::Run{std::move(f), {}});
    runChr_ = chr;
    runOpen_ = true;
}

CharFormat Reader::Resolve(const Chr& chr) const {
    CharFormat f;
    const auto font = fonts_.find(chr.font < 0 ? deff_ : chr.font);
    f.font = font != fonts_.end() ? font->second.name : std::string();
    f.halfPoints = std::clamp(chr.halfPoints, kMinHalfPoints, kMaxHalfPoints);
    f.bold = chr.bold;
    f.italic = chr.italic;
    f.underline = chr.underline;
    if (chr.color > 0 && static_cast<std::size_t>(chr.color) < colors_.size())
        f.color = colors_[static_cast<std::size_t>(chr.color)];
    f.offset = chr.offset;
    return f;
}

}  // namespace lorvane::rtf::reading
