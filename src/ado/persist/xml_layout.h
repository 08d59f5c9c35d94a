// The text of an XML recordset file laid out as ADO lays it out, so that a file loaded and
// saved again is the same byte for byte: CRLF line ends (LF in files that had them), one tab
// per level, and long tags continued on further lines.
//
// An attribute starts a new line (the element's continuation indent, then the attribute's
// usual space) when the line already holds 108 bytes or more; the continuation's indent does
// not count towards the next decision. A hexadecimal value is broken between bytes once the
// line reaches 107 bytes, and its further lines hold 55 bytes each.
#pragma once

#include <string>
#include <string_view>

namespace ado::persist {

class XmlLayout {
public:
    XmlLayout(std::string& out, bool crlf) : out_(out), lineEnd_(crlf ? "\r\n" : "\n") {}

    // A new line at `depth` tabs (none before the first line) and its text.
    void Line(int depth, std::string_view text);
    void Raw(std::string_view text);
    // ` name='value'`: the value is escaped here; `continuation` is the element's indent.
    void Attribute(std::string_view name, std::string_view value, int continuation);
    // ` name='hex'` with the hexadecimal digits broken over lines as ADO does.
    void HexAttribute(std::string_view name, std::string_view hex, int continuation);

private:
    void Break(int depth);

    std::string& out_;
    std::string_view lineEnd_;
    long column_ = 0;  // bytes counted on the current line
};

// `text` with the characters XML cannot hold in an attribute as character references (the
// forms ADO writes: "&#x26;"); fails with 3421 at a control character XML does not allow.
void AppendEscaped(std::string& out, std::string_view text);

}  // namespace ado::persist
