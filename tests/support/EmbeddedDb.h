// A fresh embedded database file in a temporary folder, with an open connection to it.
#pragma once

#include <string>

#include "ado/ado.h"
#include "support/TempDir.h"

namespace testsupport {

inline std::string JetConnectionString(const std::string& file, const std::string& password = "") {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file + ";";
    if (!password.empty()) cs += "Jet OLEDB:Database Password=\"" + password + "\";";
    return cs;
}

class EmbeddedDb {
public:
    explicit EmbeddedDb(const std::string& password = "", const std::string& name = "prueba.db")
        : file_(dir_.file(name)), password_(password) {
        ado::CreateDatabase(JetConnectionString(file_, password));
    }

    ado::ConnectionPtr Connect(ado::CursorLocationEnum location = ado::adUseClient) const {
        auto cn = ado::Connection::Create();
        cn->CursorLocation(location);
        cn->Open(JetConnectionString(file_, password_));
        return cn;
    }

    ado::RecordsetPtr Query(const ado::ConnectionPtr& cn, const std::string& sql,
                            ado::CursorTypeEnum type = ado::adOpenStatic) const {
        auto rs = ado::Recordset::Create();
        rs->Open(sql, cn, type, ado::adLockReadOnly, ado::adCmdText);
        return rs;
    }

    const std::string& file() const { return file_; }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::string file_;
    std::string password_;
};

// Runs `f` and returns the ado::Error number it throws (0 when it throws nothing).
template <class F>
int32_t ErrorNumberOf(F&& f) {
    try {
        f();
    } catch (const ado::Error& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace testsupport
