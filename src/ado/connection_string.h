// OLE DB connection strings: "Key=Value;Key2=Value2;" with keys compared without regard
// to case. Values may be quoted with '...' or "..." to hold ';'. A string without any '='
// names the data source itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ado {

class ConnectionString {
public:
    ConnectionString() = default;
    static ConnectionString Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view key) const;
    std::string GetOr(std::string_view key, std::string_view fallback) const;
    void Set(std::string_view key, std::string_view value);
    void Remove(std::string_view key);
    const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }
    std::string ToString() const;

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

bool EqualsNoCase(std::string_view a, std::string_view b);
// The text with its ASCII letters in lower case: a key under which EqualsNoCase's equals meet.
std::string LowerAscii(std::string_view s);

}  // namespace ado
