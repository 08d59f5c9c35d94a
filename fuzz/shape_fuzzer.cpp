// Fuzz target: any text as a SHAPE command. The parser gives a command or fails with a syntax
// error (-2147217900) or an unsupported construct (3251), never another exception; a command
// that parses is written back as SHAPE text (names bracketed, provider text in braces), which
// must parse to the same command.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/shape/shape_command.h"

namespace {

using namespace ado::shape;

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "shape: %s: [%s]\n", what, text.c_str());
    std::abort();
}

std::string Bracketed(const std::string& name) {
    std::string out = "[";
    for (char c : name) {
        out += c;
        if (c == ']') out += ']';
    }
    return out + "]";
}

std::string Text(const Shape& s);

std::string Text(const RowSource& r) {
    switch (r.kind) {
        case RowSource::Kind::Command: return "{" + r.text + "}";
        case RowSource::Kind::Table: return "TABLE " + Bracketed(r.text);
        case RowSource::Kind::Shape: return "(" + Text(*r.shape) + ")";
    }
    return {};
}

std::string Aliased(const std::string& alias) { return alias.empty() ? "" : " AS " + Bracketed(alias); }

std::string Text(const Shape& s) {
    std::string out = "SHAPE " + Text(s.parent) + Aliased(s.alias) + " APPEND ";
    for (size_t i = 0; i < s.chapters.size(); ++i) {
        const Chapter& c = s.chapters[i];
        out += (i ? ", (" : "(") + Text(c.child) + Aliased(c.childAlias) + " RELATE ";
        for (size_t k = 0; k < c.relation.size(); ++k)
            out += (k ? ", " : "") + Bracketed(c.relation[k].parent) + " TO " + Bracketed(c.relation[k].child);
        out += ")" + Aliased(c.name);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Shape shape;
    try {
        shape = ParseShape(text);
    } catch (const ado::Error& e) {
        if (e.Number() != ado::err::SyntaxError && e.Number() != ado::err::FeatureNotAvailable)
            Fail("a failure that is neither a syntax error nor an unsupported construct", text);
        return 0;
    } catch (...) {
        Fail("an exception that is not an ado::Error", text);
    }
    const std::string written = Text(shape);
    try {
        if (Text(ParseShape(written)) != written) Fail("written back, it parses to another command", text);
    } catch (const ado::Error&) {
        Fail("written back, it does not parse", text);
    }
    return 0;
}
