// The table database module: the public header that gathers its parts.
#pragma once

#include "tabledb/TomeDBBasics.h"
#include "tabledb/TomeDBDefs.h"
#include "tabledb/TomeDBExpr.h"
#include "tabledb/TomeDBExprParser.h"
