// The small shared pieces of the table database: field type codes and their
// stored widths, memory-medium database names, the text routines of the
// filter engine (LIKE, locale comparison, date and time literals) and the
// definition collections that describe tables, fields and indexes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Fields.h"
#include "platform/Text.h"
#include "tabledb/HashBase.h"

class TMemoryStream;

// Type classes of the filter language. The integer kinds are the integers
// of at most 32 bits; large integer, float and currency are numeric too. The
// blob kinds count as string kinds: filters see their values as text.
bool IsIntegerType(uint8_t fieldType);
bool IsNumericType(uint8_t fieldType);
bool IsStringType(uint8_t fieldType);
bool IsDateTimeType(uint8_t fieldType);

// Bytes that a value of the type takes in a record buffer and in a record's
// fixed part; blob kinds take 0 (their values live apart). Any other type
// raises EDatabaseError "General error".
int32_t GetFieldDataSize(uint8_t fieldType, int32_t declaredSize);

// --- Memory-medium names ------------------------------------------------------
// A database kept in a memory stream is named ":" followed by the stream's
// registry id in hexadecimal. Streams are registered by their user, who keeps
// ownership and unregisters them before freeing them.
bool IsMemoryMediumName(std::string_view name);
// Returns the id; the stream stays owned by the caller.
uint32_t RegisterMemoryMedium(TMemoryStream* stream);
void UnregisterMemoryMedium(uint32_t id);
String MemoryMediumName(uint32_t id);
// The registered stream the name designates. A name that is not a
// memory-medium name, or whose id is not registered, raises EDatabaseError
// "Invalid database name '%s'".
TMemoryStream* MemoryMediumNameToStream(std::string_view name);

// --- Hash shortcuts -------------------------------------------------------------
// The digest text (default form) of the text's bytes, hashed by a fresh
// object of the class; the password digest is HashText(NewHash<THash_SHA>, ...).
String HashText(THashClass hashClass, std::string_view text);
// CRC-32 of the bytes, with which a written value is checked.
uint32_t BufferCRC32(const void* buffer, int64_t size);

// --- Text routines of the filter engine ----------------------------------------
// SQL-style LIKE: "%" matches any run (the empty one included), "_" exactly one
// character; there is no escape character. Case-insensitive matching folds
// ASCII letters only.
bool MatchLikePattern(std::string_view value, std::string_view pattern, bool caseSensitive);

// -1, 0 or 1 by the user's locale. With partial, only the first `length`
// characters of each string take part (a negative length compares whole).
int CompareFieldStrings(std::string_view s1, std::string_view s2, bool partial, bool ignoreCase,
                        int length);

bool IsIntegerText(std::string_view text);

// Literal readers of filter texts. Dates are month/day/year with "/" whatever
// the locale; times are h[:mm[:ss[<decimal separator>ms]]] with an optional
// AM/PM marker before or after. They report failure by their result only.
bool TextToDate(std::string_view text, TDateTime& value);
bool TextToTime(std::string_view text, TDateTime& value);
bool TextToDateTime(std::string_view text, TDateTime& value);
