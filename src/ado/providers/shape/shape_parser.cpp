// The SHAPE command parser: a recursive descent over the text, one word or mark at a time.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "ado/error_numbers.h"
#include "ado/providers/shape/shape_command.h"
#include "ado/text/character_count.h"

namespace ado::shape {

namespace {

// Constructs of the SHAPE grammar this provider does not run.
constexpr std::array<std::string_view, 7> kAggregates = {"SUM", "AVG", "MIN", "MAX", "COUNT", "STDEV", "ANY"};

bool StartsName(unsigned char c) { return std::isalpha(c) || c >= 0x80; }
bool InName(unsigned char c) { return std::isalnum(c) || c >= 0x80 || c == '_' || c == '#' || c == ':'; }

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y)); });
}

// Nesting deeper than this is refused rather than followed until the stack ends.
constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Shape Command() {
        Shape shape = ShapeCommand(0);
        SkipSpace();
        if (pos_ < text_.size()) Fail("el final de la orden");
        return shape;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;

    // The position as the user counts it: characters from 1.
    size_t Position(size_t at) const {
        return 1 + text::CharacterCount(text_.substr(0, at));
    }

    [[noreturn]] void Fail(std::string_view expected) const { FailAt(pos_, expected); }
    [[noreturn]] void FailAt(size_t at, std::string_view expected) const {
        Raise(Condition::SyntaxError,
              "(SHAPE: se esperaba " + std::string(expected) + " en la posición " + std::to_string(Position(at)) + ")");
    }
    [[noreturn]] void Unsupported(size_t at, std::string_view construct) const {
        Raise(Condition::NotSupported, "(SHAPE: " + std::string(construct) + ", en la posición " +
                                           std::to_string(Position(at)) + ", no se admite)");
    }

    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool Peek(char c) {
        SkipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    bool Accept(char c) {
        if (!Peek(c)) return false;
        ++pos_;
        return true;
    }
    void Expect(char c) {
        if (!Accept(c)) Fail(std::string("«") + c + "»");
    }
    // The bare word at the cursor, not consumed; empty when none.
    std::string_view PeekWord() {
        SkipSpace();
        if (pos_ >= text_.size() || !StartsName(static_cast<unsigned char>(text_[pos_]))) return {};
        size_t end = pos_ + 1;
        while (end < text_.size() && InName(static_cast<unsigned char>(text_[end]))) ++end;
        return text_.substr(pos_, end - pos_);
    }
    bool AcceptWord(std::string_view word) {
        if (!SameWord(PeekWord(), word)) return false;
        pos_ += word.size();
        return true;
    }
    void ExpectWord(std::string_view word) {
        if (!AcceptWord(word)) Fail("«" + std::string(word) + "»");
    }

    // A bare or quoted name; a quote inside its own quotes is written twice. A keyword of the
    // grammar is a name only in quotes.
    std::string Name(std::string_view what) {
        SkipSpace();
        if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'' || text_[pos_] == '[')) {
            const size_t start = pos_;
            const char close = text_[pos_] == '[' ? ']' : text_[pos_];
            std::string name;
            for (++pos_; pos_ < text_.size(); ++pos_) {
                if (text_[pos_] != close) {
                    name += text_[pos_];
                } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == close) {
                    name += close;
                    ++pos_;
                } else {
                    ++pos_;
                    if (name.empty()) FailAt(start, what);
                    return name;
                }
            }
            FailAt(text_.size(), std::string("«") + close + "»");
        }
        const std::string_view word = PeekWord();
        if (word.empty() || AtKeyword()) Fail(what);
        pos_ += word.size();
        return std::string(word);
    }

    bool AtQuotedName() {
        SkipSpace();
        return pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'' || text_[pos_] == '[');
    }

    // Words that end an alias-less item, so they are never taken as an alias.
    bool AtKeyword() {
        const std::string_view w = PeekWord();
        for (std::string_view k : {"APPEND", "RELATE", "COMPUTE", "BY", "TO", "AS"})
            if (SameWord(w, k)) return true;
        return false;
    }

    // [[AS] alias]; empty when there is none.
    std::string OptionalAlias() {
        if (AcceptWord("AS")) return Name("un alias");
        if (AtQuotedName() || (!PeekWord().empty() && !AtKeyword())) return Name("un alias");
        return {};
    }

    // The provider text between braces, up to the brace that closes the first; braces and
    // quotes inside quoted literals ('...', "...", [...]) belong to the text.
    std::string ProviderText() {
        ++pos_;
        int depth = 1;
        const size_t start = pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\'' || c == '"' || c == '[') {
                const char close = c == '[' ? ']' : c;
                const size_t end = text_.find(close, pos_ + 1);
                if (end == std::string_view::npos) FailAt(text_.size(), std::string("«") + close + "»");
                pos_ = end + 1;
                continue;
            }
            if (c == '{') ++depth;
            if (c == '}' && --depth == 0) {
                const std::string inner(text_.substr(start, pos_ - start));
                ++pos_;
                return inner;
            }
            ++pos_;
        }
        FailAt(text_.size(), "«}»");
    }

    RowSource Source(int depth) {
        RowSource source;
        SkipSpace();
        const size_t at = pos_;
        if (Peek('{')) {
            source.text = ProviderText();
        } else if (Accept('(')) {
            source.kind = RowSource::Kind::Shape;
            source.shape = std::make_shared<const Shape>(ShapeCommand(depth + 1));
            Expect(')');
        } else if (AcceptWord("TABLE")) {
            source.kind = RowSource::Kind::Table;
            source.text = Name("el nombre de una tabla");
        } else if (AtQuotedName()) {
            Unsupported(at, "el nombre de un conjunto de registros ya formado");
        } else {
            Fail("«{», «(» o «TABLE»");
        }
        return source;
    }

    Shape ShapeCommand(int depth) {
        if (depth > kMaxDepth) FailAt(pos_, "menos anidamiento");
        SkipSpace();
        if (!AcceptWord("SHAPE")) Fail("«SHAPE»");
        Shape shape;
        SkipSpace();
        if (SameWord(PeekWord(), "APPEND") || SameWord(PeekWord(), "COMPUTE"))
            Unsupported(pos_, "SHAPE sin orden principal");
        shape.parent = Source(depth);
        shape.alias = OptionalAlias();
        SkipSpace();
        const size_t action = pos_;
        if (AcceptWord("COMPUTE")) Unsupported(action, "COMPUTE");
        if (!AcceptWord("APPEND")) Fail("«APPEND»");
        do {
            shape.chapters.push_back(AppendedColumn(depth, shape.chapters.size() + 1));
        } while (Accept(',') || AcceptWord("APPEND"));
        return shape;
    }

    // One item of the APPEND list: a relation in parentheses, with its chapter's name.
    Chapter AppendedColumn(int depth, size_t number) {
        SkipSpace();
        const size_t at = pos_;
        const std::string_view word = PeekWord();
        for (std::string_view a : kAggregates)
            if (SameWord(word, a)) Unsupported(at, "el agregado " + std::string(a));
        if (SameWord(word, "CALC")) Unsupported(at, "CALC");
        if (SameWord(word, "NEW")) Unsupported(at, "NEW");
        Expect('(');
        Chapter chapter;
        chapter.child = Source(depth);
        chapter.childAlias = OptionalAlias();
        ExpectWord("RELATE");
        do {
            RelatePair pair;
            pair.parent = Name("un campo del padre");
            ExpectWord("TO");
            SkipSpace();
            if (SameWord(PeekWord(), "PARAMETER")) Unsupported(pos_, "PARAMETER");
            pair.child = Name("un campo del hijo");
            chapter.relation.push_back(std::move(pair));
        } while (Accept(','));
        Expect(')');
        chapter.name = OptionalAlias();
        if (chapter.name.empty()) chapter.name = "Chapter" + std::to_string(number);
        return chapter;
    }
};

}  // namespace

bool IsShapeCommand(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const std::string_view rest = text.substr(i);
    return rest.size() >= 5 && SameWord(rest.substr(0, 5), "SHAPE") &&
           (rest.size() == 5 || !InName(static_cast<unsigned char>(rest[5])));
}

Shape ParseShape(std::string_view text) { return Parser(text).Command(); }

}  // namespace ado::shape
