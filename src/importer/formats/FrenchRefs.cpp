#include "FrenchRefs.h"

#include <cctype>
#include <map>

#include "Canon.h"

namespace lorvane::importer {
namespace {

enum class Tok { Num, Word, Colon, Comma, Semi, Dot, Dash, V, Etc, Other };

struct Token {
    Tok kind;
    std::size_t begin, end;  // byte offsets in the text
    int value = 0;           // Num: the number; Etc: 1 when it took its "."
    std::string word;        // Word
};

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    auto isLetter = [&](std::size_t k) {
        auto c = static_cast<unsigned char>(s[k]);
        return std::isalpha(c) || c >= 0x80;
    };
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        const std::size_t begin = i;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '(' || c == ')') {
            ++i;
        } else if (s.substr(i, 2) == "\xC2\xA0" || s.substr(i, 3) == "\xE2\x80\xAF") {
            i += s[i] == '\xC2' ? 2 : 3;  // no-break spaces
        } else if (std::isdigit(c)) {
            long v = 0;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
                if (v < 100000) v = v * 10 + (s[i] - '0');
                ++i;
            }
            out.push_back({Tok::Num, begin, i, static_cast<int>(v), {}});
        } else if (s.substr(i, 3) == "\xE2\x80\x93") {  // en dash
            i += 3;
            out.push_back({Tok::Dash, begin, i, 0, {}});
        } else if (isLetter(i)) {
            while (i < s.size() && isLetter(i) && !(s.substr(i, 3) == "\xE2\x80\x93"))
                ++i;
            std::string word(s.substr(begin, i - begin));
            bool dot = i < s.size() && s[i] == '.';
            if ((word == "v" || word == "vv" || word == "vs") && dot) {
                ++i;
                out.push_back({Tok::V, begin, i, 0, {}});
            } else if (word == "etc") {
                if (dot) ++i;
                out.push_back({Tok::Etc, begin, i, dot ? 1 : 0, {}});
            } else {
                out.push_back({Tok::Word, begin, i, 0, std::move(word)});
            }
        } else {
            ++i;
            Tok k = c == ':'   ? Tok::Colon
                    : c == ',' ? Tok::Comma
                    : c == ';' ? Tok::Semi
                    : c == '.' ? Tok::Dot
                    : c == '-' ? Tok::Dash
                               : Tok::Other;
            out.push_back({k, begin, i, 0, {}});
        }
    }
    return out;
}

const std::map<std::string, int, std::less<>>& Abbreviations() {
    static const auto* table = [] {
        auto* m = new std::map<std::string, int, std::less<>>;
        for (std::size_t i = 0; i < datawriter::kCanon.size(); ++i)
            (*m)[std::string(datawriter::kCanon[i].abbreviation)] = static_cast<int>(i) + 1;
        return m;
    }();
    return *table;
}

class Parser {
  public:
    Parser(std::string_view text, int sourceBook, int sourceChapter)
        : text_(text),
          toks_(Tokenize(text)),
          sourceBook_(sourceBook),
          sourceChapter_(sourceChapter) {}

    RefList Run() {
        while (pos_ < toks_.size()) {
            const std::size_t start = pos_;
            if (!Group()) {
                // The group, up to the next ".", is one piece not read.
                const std::size_t from = toks_[start].begin;
                while (pos_ < toks_.size() && toks_[pos_].kind != Tok::Dot)
                    ++pos_;
                std::size_t to = pos_ < toks_.size() ? toks_[pos_].end : text_.size();
                if (pos_ < toks_.size()) ++pos_;
                result_.unread.emplace_back(text_.substr(from, to - from));
                book_ = 0;
            }
        }
        return std::move(result_);
    }

  private:
    const Token* At(std::size_t k) const { return k < toks_.size() ? &toks_[k] : nullptr; }
    bool Is(std::size_t k, Tok kind) const { return At(k) && At(k)->kind == kind; }
    bool Fail() const { return false; }

    // A book abbreviation at pos_: its number and token count, or 0.
    int BookAt(std::size_t k, std::size_t* length) const {
        const auto& abbr = Abbreviations();
        if (Is(k, Tok::Num) && At(k)->value >= 1 && At(k)->value <= 3 && Is(k + 1, Tok::Word)) {
            auto it = abbr.find(std::to_string(At(k)->value) + " " + At(k + 1)->word);
            if (it != abbr.end()) {
                *length = 2;
                return it->second;
            }
        }
        if (Is(k, Tok::Word)) {
            auto it = abbr.find(At(k)->word);
            if (it != abbr.end()) {
                *length = 1;
                return it->second;
            }
        }
        return 0;
    }

    bool TakeBook() {
        std::size_t length = 0;
        int book = BookAt(pos_, &length);
        if (!book) return false;
        book_ = book;
        pos_ += length;
        return true;
    }

    void Add(int chapter, int first, int last) {
        result_.targets.push_back({book_, chapter, first, last});
    }

    // [book] chapters ("." | end), chapters separated by ";".
    bool Group() {
        bool explicitBook = TakeBook();
        if (!explicitBook && !Is(pos_, Tok::V) && book_ == 0) return Fail();
        endedByEtc_ = false;
        for (;;) {
            if (!Chapter(explicitBook)) return false;
            if (Is(pos_, Tok::Semi)) {
                ++pos_;
                endedByEtc_ = false;
                explicitBook = TakeBook() || explicitBook;
                continue;
            }
            break;
        }
        if (pos_ >= toks_.size()) return true;
        if (Is(pos_, Tok::Dot)) {
            ++pos_;
            return true;
        }
        return endedByEtc_ ? true : Fail();
    }

    bool Chapter(bool explicitBook) {
        if (Is(pos_, Tok::V)) {
            // "v. N": a verse of the note's own chapter, or of a book that
            // has only one chapter.
            ++pos_;
            int chapter = 0;
            if (!explicitBook || book_ == 0) {
                book_ = sourceBook_;
                chapter = sourceChapter_;
            } else if (datawriter::kCanon[book_ - 1].chapters == 1) {
                chapter = 1;
            } else if (book_ == sourceBook_) {
                chapter = sourceChapter_;
            } else {
                return Fail();
            }
            return Verses(chapter);
        }
        if (!Is(pos_, Tok::Num)) return Fail();
        int chapter = At(pos_)->value;
        ++pos_;
        if (Is(pos_, Tok::Colon)) {
            ++pos_;
            return Verses(chapter);
        }
        if (Is(pos_, Tok::Dash) && Is(pos_ + 1, Tok::Num) && !Is(pos_ + 2, Tok::Colon)) {
            // A range of whole chapters.
            int last = At(pos_ + 1)->value;
            if (last < chapter || last - chapter > 150) return Fail();
            pos_ += 2;
            for (int c = chapter; c <= last; ++c)
                Add(c, 0, 0);
        } else {
            Add(chapter, 0, 0);
        }
        if (Is(pos_, Tok::Comma) && Is(pos_ + 1, Tok::Etc)) ++pos_;
        if (Is(pos_, Tok::Etc)) TakeEtc();
        return true;
    }

    void TakeEtc() {
        endedByEtc_ = At(pos_)->value == 1;
        ++pos_;
    }

    // Verses of one chapter: "4", "4-6", "v. 7", "etc.", separated by ",".
    bool Verses(int chapter) {
        for (;;) {
            if (Is(pos_, Tok::V)) ++pos_;
            if (Is(pos_, Tok::Num)) {
                int first = At(pos_)->value, last = 0;
                ++pos_;
                if (Is(pos_, Tok::Dash)) {
                    if (!Is(pos_ + 1, Tok::Num) || Is(pos_ + 2, Tok::Colon)) {
                        ++pos_;
                        return Fail();  // a range into another chapter
                    }
                    last = At(pos_ + 1)->value;
                    pos_ += 2;
                    if (last < first) return Fail();
                }
                if (first == 0) return Fail();
                Add(chapter, first, last);
            } else if (Is(pos_, Tok::Etc)) {
                TakeEtc();
                return true;
            } else {
                return Fail();
            }
            if (!Is(pos_, Tok::Comma)) return true;
            // "Mt 5:3, 6:2": a comma before another chapter of the book.
            if (Is(pos_ + 1, Tok::Num) && Is(pos_ + 2, Tok::Colon)) {
                ++pos_;
                int next = At(pos_)->value;
                pos_ += 2;
                return Verses(next);
            }
            ++pos_;
        }
    }

    std::string_view text_;
    std::vector<Token> toks_;
    int sourceBook_, sourceChapter_;
    std::size_t pos_ = 0;
    int book_ = 0;
    bool endedByEtc_ = false;
    RefList result_;
};

}  // namespace

RefList ParseFrenchRefs(std::string_view utf8, int sourceBook, int sourceChapter) {
    return Parser(utf8, sourceBook, sourceChapter).Run();
}

}  // namespace lorvane::importer
