// The ADO-like layer in one include.
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
