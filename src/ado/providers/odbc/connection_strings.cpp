#include "ado/providers/odbc/connection_strings.h"

#include <cstdlib>

namespace ado::odbc {

namespace {

struct ProviderRow {
    std::string_view name;
    Family family;
};
constexpr ProviderRow kProviders[] = {
    {"MSDASQL", Family::Odbc},         {"MSDASQL.1", Family::Odbc},
    {"SQLOLEDB", Family::SqlServer},   {"SQLOLEDB.1", Family::SqlServer},
    {"SQLNCLI", Family::SqlServer},    {"SQLNCLI.1", Family::SqlServer},
    {"SQLNCLI10", Family::SqlServer},  {"SQLNCLI10.1", Family::SqlServer},
    {"SQLNCLI11", Family::SqlServer},  {"MSDAORA", Family::Unavailable},
    {"MSDAORA.1", Family::Unavailable},
};

bool IsOneOf(std::string_view key, std::initializer_list<std::string_view> names) {
    for (auto n : names)
        if (EqualsNoCase(key, n)) return true;
    return false;
}

std::optional<std::string> First(const ConnectionString& cs, std::initializer_list<std::string_view> keys) {
    for (auto k : keys)
        if (auto v = cs.Get(k)) return v;
    return std::nullopt;
}

bool IsTrue(std::string_view v) {
    return IsOneOf(v, {"true", "yes", "sspi", "1", "-1"});
}

// "tcp:host\instance,port" split into its parts; "(local)" and "." are this machine.
struct ServerSpec {
    std::string host;
    std::string instance;
    std::string port;
};

ServerSpec ParseServer(std::string_view text) {
    ServerSpec s;
    for (std::string_view prefix : {"tcp:", "np:", "lpc:", "admin:"})
        if (text.size() > prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix)) {
            text.remove_prefix(prefix.size());
            break;
        }
    if (const size_t comma = text.find(','); comma != std::string_view::npos) {
        s.port = std::string(text.substr(comma + 1));
        text = text.substr(0, comma);
    }
    if (const size_t slash = text.find('\\'); slash != std::string_view::npos) {
        s.instance = std::string(text.substr(slash + 1));
        text = text.substr(0, slash);
    }
    s.host = IsOneOf(text, {"(local)", ".", ""}) ? std::string("localhost") : std::string(text);
    return s;
}

bool IsFreeTds(std::string_view driver) {
    for (size_t i = 0; i + 7 <= driver.size(); ++i)
        if (EqualsNoCase(driver.substr(i, 7), "freetds")) return true;
    return false;
}

std::string Braced(std::string_view driver) {
    if (!driver.empty() && driver.front() == '{') return std::string(driver);
    return "{" + std::string(driver) + "}";
}

}  // namespace

std::optional<Family> FamilyOf(std::string_view providerName) {
    for (const auto& row : kProviders)
        if (EqualsNoCase(row.name, providerName)) return row.family;
    return std::nullopt;
}

std::string OdbcPair(std::string_view key, std::string_view value) {
    const bool braced = value.size() >= 2 && value.front() == '{' && value.back() == '}';
    const bool needs = !braced && (value.find_first_of(";{}") != std::string_view::npos ||
                                   (!value.empty() && (value.front() == ' ' || value.back() == ' ')));
    std::string out(key);
    out += '=';
    if (!needs) {
        out += value;
    } else {
        out += '{';
        for (char c : value) {
            out += c;
            if (c == '}') out += '}';
        }
        out += '}';
    }
    return out + ';';
}

std::string OdbcConnectionString(const ConnectionString& settings, std::string_view user, std::string_view password) {
    std::string out;
    bool hasUid = false, hasPwd = false;
    for (const auto& [key, value] : settings.Items()) {
        if (IsOneOf(key, {"Provider", "User ID", "Password", "Extended Properties"})) continue;
        if (EqualsNoCase(key, "Data Source")) out += OdbcPair("DSN", value);
        else if (EqualsNoCase(key, "Initial Catalog")) out += OdbcPair("DATABASE", value);
        else out += OdbcPair(key, value);
        hasUid |= IsOneOf(key, {"UID", "User"});
        hasPwd |= IsOneOf(key, {"PWD"});
    }
    if (auto extended = settings.Get("Extended Properties"); extended && !extended->empty()) {
        out += *extended;
        if (out.back() != ';') out += ';';
    }
    if (!user.empty() && !hasUid) out += OdbcPair("UID", user);
    if (!password.empty() && !hasPwd) out += OdbcPair("PWD", password);
    return out;
}

std::string SqlServerConnectionString(const ConnectionString& cs, std::string_view driver, std::string_view user,
                                      std::string_view password) {
    const bool freeTds = IsFreeTds(driver);
    std::string out = "Driver=" + Braced(driver) + ";";
    const ServerSpec server =
        ParseServer(First(cs, {"Data Source", "Server", "Address", "Addr", "Network Address"}).value_or(""));
    if (freeTds) {
        // FreeTDS takes an instance or a port, not both; it always talks TCP.
        out += OdbcPair("Server", server.instance.empty() ? server.host : server.host + "\\" + server.instance);
        if (server.instance.empty()) out += OdbcPair("Port", server.port.empty() ? "1433" : server.port);
        out += "ClientCharset=UTF-8;";
    } else {
        const std::string library = First(cs, {"Network Library", "Network"}).value_or("");
        std::string address = server.host;
        if (!server.instance.empty()) address += "\\" + server.instance;
        if (!server.port.empty()) address += "," + server.port;
        // Only TCP/IP exists on this platform: named pipes and shared memory are not asked for.
        const bool tcp = EqualsNoCase(library, "DBMSSOCN");
        out += OdbcPair("Server", tcp ? "tcp:" + address : address);
        if (tcp) out += "Network=DBMSSOCN;";
    }
    if (auto db = First(cs, {"Initial Catalog", "Database"})) out += OdbcPair("Database", *db);
    if (!user.empty()) out += OdbcPair("UID", user);
    if (!password.empty()) out += OdbcPair("PWD", password);
    if (auto app = First(cs, {"Application Name", "App"})) out += OdbcPair("APP", *app);
    if (auto wsid = First(cs, {"Workstation ID", "WSID"})) out += OdbcPair("WSID", *wsid);
    if (auto lang = First(cs, {"Current Language", "Language"})) out += OdbcPair("Language", *lang);
    if (auto integrated = First(cs, {"Integrated Security", "Trusted_Connection"}); integrated && IsTrue(*integrated))
        out += "Trusted_Connection=Yes;";
    if (auto encrypt = First(cs, {"Use Encryption for Data", "Encrypt"}))
        out += freeTds ? (IsTrue(*encrypt) ? "Encryption=require;" : "")
                       : OdbcPair("Encrypt", IsTrue(*encrypt) ? "yes" : "no");
    if (auto trust = cs.Get("Trust Server Certificate"); trust && !freeTds)
        out += OdbcPair("TrustServerCertificate", IsTrue(*trust) ? "yes" : "no");
    return out;
}

std::string SqlServerDriver() {
    const char* chosen = std::getenv("BREZAL_SQLSERVER_ODBC_DRIVER");
    return chosen && *chosen ? std::string(chosen) : std::string("FreeTDS");
}

}  // namespace ado::odbc
