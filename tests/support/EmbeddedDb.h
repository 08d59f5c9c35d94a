// A fresh embedded database file in a temporary folder, with connections to it; and short ways
// to read a value, open a recordset or make a command on any connection.
#pragma once

#include <string>

#include "ado/ConnectionStringValue.h"
#include "ado/ado.h"
#include "support/Checks.h"
#include "support/TempDir.h"

namespace testsupport {

inline std::string JetConnectionString(const std::string& file, const std::string& password = "") {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ado::ConnectionStringValue(file) + ";";
    if (!password.empty()) cs += "Jet OLEDB:Database Password=" + ado::ConnectionStringValue(password) + ";";
    return cs;
}

// The first column of the first row `sql` gives.
inline ado::Variant Scalar(const ado::ConnectionPtr& cn, const std::string& sql) {
    return cn->Execute(sql)->Fields()[0].Value();
}

inline ado::RecordsetPtr OpenRecordset(const ado::ConnectionPtr& cn, const std::string& sql, ado::CursorTypeEnum type,
                                       ado::LockTypeEnum lock, ado::CursorLocationEnum location = ado::adUseClient) {
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(location);
    rs->Open(sql, cn, type, lock, ado::adCmdText);
    return rs;
}

inline ado::CommandPtr NewCommand(const ado::ConnectionPtr& cn, const std::string& text,
                                  ado::CommandTypeEnum type = ado::adCmdText) {
    auto cmd = ado::Command::Create();
    cmd->ActiveConnection(cn);
    cmd->CommandText(text);
    cmd->CommandType(type);
    return cmd;
}

// The table Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY) with the rows
// 1 a1 1, 2 a2 2, 3 a3 3 and 4 a4 4.
inline void CreateArticles(const ado::ConnectionPtr& cn) {
    cn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY)");
    for (int i = 1; i <= 4; ++i)
        cn->Execute("INSERT INTO Art VALUES (" + std::to_string(i) + ", 'a" + std::to_string(i) + "', " +
                    std::to_string(i) + ")");
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

    // A connection with this password and mode that waits a second at most for a file another one holds.
    ado::ConnectionPtr Open(const std::string& password, ado::ConnectModeEnum mode = ado::adModeReadWrite) const {
        auto cn = ado::Connection::Create();
        cn->Mode(mode);
        cn->ConnectionTimeout(1);
        cn->Open(JetConnectionString(file_, password));
        return cn;
    }

    ado::RecordsetPtr Query(const ado::ConnectionPtr& cn, const std::string& sql,
                            ado::CursorTypeEnum type = ado::adOpenStatic) const {
        auto rs = ado::Recordset::Create();
        rs->Open(sql, cn, type, ado::adLockReadOnly, ado::adCmdText);
        return rs;
    }

    // What `sql` gives first on a connection of its own.
    ado::Variant Scalar(const std::string& sql) const { return testsupport::Scalar(Connect(), sql); }

    const std::string& file() const { return file_; }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::string file_;
    std::string password_;
};

}  // namespace testsupport
