// The table database module: the public header that gathers its parts.
#pragma once

#include "tabledb/TomeDBBasics.h"
#include "tabledb/TomeDBDefs.h"
#include "tabledb/TomeDBExpr.h"
#include "tabledb/TomeDBExprParser.h"
#include "tabledb/TomeDBBlob.h"
#include "tabledb/TomeDBData.h"
#include "tabledb/TomeDBDatabase.h"
#include "tabledb/TomeDBSession.h"
#include "tabledb/TomeDBTable.h"
