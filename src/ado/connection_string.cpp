#include "ado/connection_string.h"

#include "ado/ConnectionStringValue.h"

#include <algorithm>
#include <cctype>

namespace ado {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        // ASCII letters only: names and keys are compared as the platform does.
        if ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z') return false;
    }
    return true;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

ConnectionString ConnectionString::Parse(std::string_view text) {
    ConnectionString cs;
    if (Trim(text).empty()) return cs;
    // No key holds a '/': a path with '=' in it is a data source, not a key and a value.
    const size_t firstEq = text.find('=');
    if (firstEq == std::string_view::npos || text.substr(0, firstEq).find('/') != std::string_view::npos) {
        cs.Set("Data Source", Trim(text));
        return cs;
    }
    size_t i = 0;
    while (i < text.size()) {
        // Empty pairs (";;", a leading ';') are passed over.
        if (text[i] == ';' || std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        const size_t eq = text.find('=', i);
        if (eq == std::string_view::npos) break;
        const std::string_view key = Trim(text.substr(i, eq - i));
        size_t j = eq + 1;
        while (j < text.size() && text[j] == ' ') ++j;
        std::string value;
        if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
            const char q = text[j++];
            // A doubled quote inside a quoted value stands for one quote.
            while (j < text.size()) {
                if (text[j] == q) {
                    if (j + 1 < text.size() && text[j + 1] == q) {
                        value += q;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const size_t semi = text.find(';', j);
            i = semi == std::string_view::npos ? text.size() : semi + 1;
        } else {
            const size_t semi = text.find(';', j);
            const size_t end = semi == std::string_view::npos ? text.size() : semi;
            value = std::string(Trim(text.substr(j, end - j)));
            i = end + 1;
        }
        if (!key.empty()) cs.Set(key, value);
    }
    return cs;
}

std::optional<std::string> ConnectionString::Get(std::string_view key) const {
    for (const auto& [k, v] : items_)
        if (EqualsNoCase(k, key)) return v;
    return std::nullopt;
}

std::string ConnectionString::GetOr(std::string_view key, std::string_view fallback) const {
    auto v = Get(key);
    return v ? *v : std::string(fallback);
}

void ConnectionString::Set(std::string_view key, std::string_view value) {
    for (auto& [k, v] : items_)
        if (EqualsNoCase(k, key)) {
            v = value;
            return;
        }
    items_.emplace_back(std::string(key), std::string(value));
}

void ConnectionString::Remove(std::string_view key) {
    std::erase_if(items_, [&](const auto& kv) { return EqualsNoCase(kv.first, key); });
}

std::string ConnectionStringValue(std::string_view value) {
    const bool plain = value.find(';') == std::string_view::npos &&
                       (value.empty() || (!std::isspace(static_cast<unsigned char>(value.front())) &&
                                          !std::isspace(static_cast<unsigned char>(value.back())) &&
                                          value.front() != '"' && value.front() != '\''));
    if (plain) return std::string(value);
    const char quote = value.find('"') != std::string_view::npos && value.find('\'') == std::string_view::npos ? '\'' : '"';
    std::string out(1, quote);
    for (char c : value) {
        if (c == quote) out += c;
        out += c;
    }
    return out += quote;
}

std::string ConnectionString::ToString() const {
    std::string out;
    for (const auto& [k, v] : items_) out += k + "=" + ConnectionStringValue(v) + ";";
    return out;
}

}  // namespace ado
