#pragma once
// Strict number parsing: the whole text must be the number (blanks around it allowed), inside
// the type's range; "nan", "inf" and hexadecimal forms are rejected. A comma may stand for the
// decimal point where the caller allows it.

#include <QString>
#include <cstdint>
#include <optional>

namespace qz {

std::optional<int32_t> ParseInt32(const QString& text);
std::optional<int64_t> ParseInt64(const QString& text);
// allowComma: a single ',' counts as the decimal point (entries typed by the operator).
std::optional<double> ParseDouble(const QString& text, bool allowComma = false);

}  // namespace qz
