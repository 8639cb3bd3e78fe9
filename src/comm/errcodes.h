#pragma once
// The error codes of the communication, file-transfer and memory-file layers and their texts.
// The table also keeps the codes of devices this program does not have (converters, parallel
// port, spectrum analyzer, tracking generator, CAN bus), so that a code means the same
// everywhere. The texts are the unit's own and are kept exactly, spelling included.

#include <QString>
#include <cstdint>

namespace qz {

// Highest code with an entry in the table; any code above it is illegal.
inline constexpr uint32_t kMaxErrorCode = 140;

// Error codes used by the program itself.
inline constexpr uint32_t kErrNone = 0;
inline constexpr uint32_t kErrConfigFileNotFound = 1;
inline constexpr uint32_t kErrTransmit = 2;

// The code's text; "Illegal error code" above 140 (a negative code passed as unsigned is above
// 140, too). Codes the program never raises and that have no text of their own read
// "Unspecified error".
QString ErrorText(uint32_t code);

// "<object> error <code>: <text>", e.g. "RS232 error 8: File transferred incompletely".
QString ErrorMessage(const QString& objectName, uint32_t code);

}  // namespace qz
