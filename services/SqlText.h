#pragma once

#include <QString>

// The small rules every SQL text and search of the tool shares.
namespace sqltext {

// A text value for SQL: single quotes around it, inner single quotes doubled.
QString quoted(const QString& value);
// A body number as it is searched: zero-filled on the left to five characters.
QString padBody(const QString& body);
// True for an optional sign followed by decimal digits that fit in 32 bits; such a text may be
// written into SQL unquoted.
bool isWholeNumber(const QString& text);

} // namespace sqltext
