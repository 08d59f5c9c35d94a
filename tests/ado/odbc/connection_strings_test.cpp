// Provider names and the connection strings they give the driver manager; opening through
// drivers that are installed without a server to reach.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ado/error_numbers.h"
#include "ado/providers/odbc/connection_strings.h"
#include "pg_server.h"

using namespace ado;
using namespace ado::odbc;
using testsupport::ErrorNumberOf;

namespace {

TEST(OdbcConnectionStrings, SqlServerKeywordsForEachDriver) {
    struct Case {
        const char* oledb;
        const char* freeTds;
        const char* microsoft;
    } cases[] = {
        {"Provider=SQLOLEDB;Data Source=srv01;Initial Catalog=Ventas;Network Library=DBMSSOCN;"
         "Application Name=Quimera",
         "Driver={FreeTDS};Server=srv01;Port=1433;ClientCharset=UTF-8;Database=Ventas;UID=sa;PWD=clave;APP=Quimera;",
         "Driver={ODBC Driver 18 for SQL Server};Server=tcp:srv01;Network=DBMSSOCN;Database=Ventas;UID=sa;PWD=clave;"
         "APP=Quimera;"},
        {"Provider=SQLNCLI10;Data Source=10.0.0.5,1500;Database=Compras",
         "Driver={FreeTDS};Server=10.0.0.5;Port=1500;ClientCharset=UTF-8;Database=Compras;UID=sa;PWD=clave;",
         "Driver={ODBC Driver 18 for SQL Server};Server=10.0.0.5,1500;Database=Compras;UID=sa;PWD=clave;"},
        {"Provider=SQLNCLI11;Data Source=(local)\\SQLEXPRESS;Integrated Security=SSPI;Workstation ID=PC-7",
         "Driver={FreeTDS};Server=localhost\\SQLEXPRESS;ClientCharset=UTF-8;UID=sa;PWD=clave;WSID=PC-7;"
         "Trusted_Connection=Yes;",
         "Driver={ODBC Driver 18 for SQL Server};Server=localhost\\SQLEXPRESS;UID=sa;PWD=clave;WSID=PC-7;"
         "Trusted_Connection=Yes;"},
        {"Provider=SQLOLEDB.1;Data Source=tcp:db.example.com;Current Language=Español;Use Encryption for Data=True",
         "Driver={FreeTDS};Server=db.example.com;Port=1433;ClientCharset=UTF-8;UID=sa;PWD=clave;Language=Español;"
         "Encryption=require;",
         "Driver={ODBC Driver 18 for SQL Server};Server=db.example.com;UID=sa;PWD=clave;Language=Español;Encrypt=yes;"},
    };
    for (const auto& c : cases) {
        const ConnectionString cs = ConnectionString::Parse(c.oledb);
        EXPECT_EQ(SqlServerConnectionString(cs, "FreeTDS", "sa", "clave"), c.freeTds) << c.oledb;
        EXPECT_EQ(SqlServerConnectionString(cs, "ODBC Driver 18 for SQL Server", "sa", "clave"), c.microsoft)
            << c.oledb;
    }
    // Values with separators are braced, braces inside doubled.
    EXPECT_EQ(SqlServerConnectionString(ConnectionString::Parse("Data Source=s;Password=\"a;b}c\""), "FreeTDS", "u",
                                        "a;b}c"),
              "Driver={FreeTDS};Server=s;Port=1433;ClientCharset=UTF-8;UID=u;PWD={a;b}}c};");
}

TEST(OdbcConnectionStrings, MsdasqlPassesTheStringAsGiven) {
    struct Case {
        const char* given;
        const char* user;
        const char* odbc;
    } cases[] = {
        {"Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=h;Port=5432;Database=d;Uid=u;Pwd=;", "",
         "Driver={PostgreSQL Unicode};Server=h;Port=5432;Database=d;Uid=u;Pwd=;"},
        {"Provider=MSDASQL.1;Data Source=Contabilidad;User ID=ana;Password=x", "ana",
         "DSN=Contabilidad;UID=ana;PWD=x;"},
        {"Provider=MSDASQL;Extended Properties=\"DSN=Ventas;UID=luis\";Initial Catalog=v2024", "",
         "DATABASE=v2024;DSN=Ventas;UID=luis;"},
    };
    for (const auto& c : cases) {
        const ConnectionString cs = ConnectionString::Parse(c.given);
        EXPECT_EQ(OdbcConnectionString(cs, c.user, cs.GetOr("Password", "")), c.odbc) << c.given;
    }
}

// The driver is installed, the server is not there: a connection failure with the driver's
// text, not a missing provider. Provider names are known whatever their case.
TEST(OdbcConnect, FailuresOfDriversAndServers) {
    struct Case {
        const char* what;
        const char* cs;
        const char* driverVariable;
        int32_t number;
        const char* driverText;  // part of the description
        const char* sqlState;    // its class, where it is the server's
    } cases[] = {
        {"SQL Server on a closed port",
         "Provider=SQLOLEDB;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=sa;Password=p", nullptr, err::Fail,
         "[FreeTDS][SQL Server]Unable to connect", "08"},
        {"SQL Server driver not installed", "Provider=sqlncli11;Data Source=127.0.0.1,1", "Controlador que no existe",
         err::ProviderNotFound, "Controlador que no existe", ""},
        {"ODBC driver not installed", "Provider=msdasql.1;Driver={Controlador que no existe};Server=x", nullptr,
         err::Fail, "Controlador que no existe", ""},
        {"Oracle", "Provider=MSDAORA;Data Source=orcl", nullptr, err::ProviderNotFound, "MSDAORA", ""},
    };
    for (const auto& c : cases) {
        if (c.driverVariable) setenv("BREZAL_SQLSERVER_ODBC_DRIVER", c.driverVariable, 1);
        auto cn = Connection::Create();
        cn->ConnectionTimeout(3);
        EXPECT_EQ(ErrorNumberOf([&] { cn->Open(c.cs); }), c.number) << c.what;
        unsetenv("BREZAL_SQLSERVER_ODBC_DRIVER");
        ASSERT_EQ(cn->Errors().Count(), 1) << c.what;
        const Error& e = cn->Errors().Item(0);
        EXPECT_NE(e.Description().find(c.driverText), std::string::npos) << c.what << ": " << e.Description();
        if (*c.sqlState) {
            EXPECT_EQ(e.SQLState().substr(0, 2), c.sqlState) << c.what;
        }
        EXPECT_EQ(cn->State(), adStateClosed);
    }
}

}  // namespace
