// The domain aggregates (DLookUp, DCount, DSum, DAvg, DMin, DMax, DFirst, DLast) whose
// arguments are computed per row ("Id = " & [IdCliente]): run by the session, on its own
// connection, as the Access query they spell. An extension: they are functions of the Access
// application, not of its engine. Their values come back plain (Currency and Decimal as
// numbers, dates as serials).
#pragma once

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

class SqliteSession;

void RegisterDomainAggregates(sqlite3* db, SqliteSession& session);

}  // namespace ado::sqlite
