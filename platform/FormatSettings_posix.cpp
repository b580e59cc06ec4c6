// Outside Windows the program follows the English (United States)
// conventions, whatever the environment's locale says, so that host builds
// and tests behave the same everywhere.
#include "FormatSettings.h"

TFormatSettings LocaleFormatSettings() { return TFormatSettings{}; }
