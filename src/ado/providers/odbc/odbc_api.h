// The driver manager's API (unixODBC) and the small pieces every file of the provider shares:
// owned handles, the process's environment and UTF-16 text for the wide calls.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>
#include <utility>

static_assert(sizeof(SQLWCHAR) == 2, "the wide calls take UTF-16, never wchar_t");

namespace ado::odbc {

using WString = std::basic_string<SQLWCHAR>;

inline bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// An ODBC handle owned by one object and freed with SQLFreeHandle.
class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE h) : type_(type), h_(h) {}
    ~Handle() { Reset(); }
    Handle(Handle&& o) noexcept : type_(o.type_), h_(std::exchange(o.h_, nullptr)) {}
    Handle& operator=(Handle&& o) noexcept {
        if (this != &o) {
            Reset();
            type_ = o.type_;
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return h_; }
    SQLSMALLINT type() const { return type_; }
    explicit operator bool() const { return h_ != SQL_NULL_HANDLE; }
    void Reset() {
        if (h_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, h_);
        h_ = SQL_NULL_HANDLE;
    }

private:
    SQLSMALLINT type_ = SQL_HANDLE_STMT;
    SQLHANDLE h_ = SQL_NULL_HANDLE;
};

// The process's ODBC 3 environment, allocated on first use.
SQLHENV Environment();

// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD rather than failing.
WString ToUtf16(std::string_view utf8);
void AppendUtf8(const SQLWCHAR* text, size_t units, std::string& out);
inline std::string ToUtf8(const SQLWCHAR* text, size_t units) {
    std::string out;
    AppendUtf8(text, units, out);
    return out;
}

}  // namespace ado::odbc
