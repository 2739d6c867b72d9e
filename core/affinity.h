#pragma once
// A column's type affinity, from its declared type by SQLite's rules, in this order:
// "INT" anywhere gives INTEGER; "CHAR", "CLOB" or "TEXT" gives TEXT; "BLOB" or no type
// gives BLOB; "REAL", "FLOA" or "DOUB" gives REAL; anything else NUMERIC.

#include <string_view>

namespace pw {

enum class Affinity { Integer, Text, Blob, Real, Numeric };

Affinity AffinityOf(std::string_view declaredType);

}  // namespace pw
