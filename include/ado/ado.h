// The ADO-like layer in one include.
//
// Objects live in shared_ptr handles made by Create (ConnectionPtr, RecordsetPtr,
// CommandPtr); a connection and what is opened on it are used on one thread at a time;
// every failure is thrown as ado::Error (see each header).
#pragma once

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/Field.h"
#include "ado/Properties.h"
#include "ado/Recordset.h"
#include "ado/Regional.h"
#include "ado/Script.h"
#include "ado/Variant.h"
