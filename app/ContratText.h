// The licence agreement of the installed product, line by line.
#pragma once

extern const char* const kAgreementLines[];
extern const int kAgreementLineCount;
