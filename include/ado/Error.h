// ado::Error and ado::Errors: the failures of the ADO-like layer.
//
// Every failure of the layer is thrown as an ado::Error carrying an ADO number, a Spanish
// description and a source. Where a provider reports a failure it also appends the same
// entries to the connection's Errors collection: a failing operation replaces what the
// collection held, a succeeding one leaves it alone.
//
// A failure met while running a statement names it: Statement() holds the statement's text
// (passwords of connection strings in it masked), and what() shows the description, the
// engine's SQLSTATE and native error when there are some, and that text. Errors are plain
// values: copy them freely, from any thread.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ado {

class Error : public std::runtime_error {
public:
    Error(int32_t number, std::string description, std::string source = "ADO",
          std::string sqlState = {}, int32_t nativeError = 0);

    int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }
    const std::string& SQLState() const { return sqlState_; }
    int32_t NativeError() const { return nativeError_; }
    // The statement whose run failed, masked; empty when no statement was running.
    const std::string& Statement() const { return statement_; }
    // Names the statement (masked here); an error that already names one keeps it.
    void Statement(std::string_view text);

    // The description, then "[SQLSTATE s, error nativo n]" and "en la instrucción: ..."
    // when the error carries them.
    const char* what() const noexcept override { return message_.c_str(); }

private:
    void Compose();

    int32_t number_;
    std::string description_;
    std::string source_;
    std::string sqlState_;
    int32_t nativeError_;
    std::string statement_;
    std::string message_;
};

// The text with the values of password keys (Password=, PWD=, "Jet OLEDB:Database
// Password=") replaced by "***", wherever they stand: in a connection string or in a
// statement's IN clause ([;PWD=...]).
std::string MaskPasswords(std::string_view text);

// The connection's collection of provider errors (ADO's Errors).
class Errors {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // Item by 0-based index, as ADO's collections; out of range fails with 3265.
    const Error& Item(int32_t index) const;
    void Clear() { items_.clear(); }

    // Provider side: a new failure replaces the collection; warnings are appended.
    void Replace(const Error& e) { items_.assign(1, e); }
    void Append(const Error& e) { items_.push_back(e); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Error> items_;
};

}  // namespace ado
