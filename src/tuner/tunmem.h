#pragma once
// Tuner memory files: the binary form in which a tuner's maker hands over its description.
//
// Two versions exist. Both start with an identification text of 11 characters whose last three
// are the version digits ("TUNERMEM001", "TUNERMEM002"), stored as a length byte and the
// characters. Everything is little-endian; a text is a length byte followed by Latin-1
// characters in a field of fixed size.
//
// Version 1 is one record of 520 bytes: the identification at byte 0, the identity block at 21,
// the motor block at 193, the two stub models as compact tables at 247 and 380, the maximum
// iterations (32 bits) at 513, the break-up (16 bits) at 517 and the hysteresis at 519.
//
// Version 2 is a row of 812-byte records, each a type byte and 811 bytes of data: 0 the header
// with the identification, 1 the identity block, 2 the motor block, 3 and 4 the cell block of a
// waveguide or a coaxial tuner, 5 and 6 the two stub models, 7 the maximum iterations, the
// break-up and the hysteresis. Records of a higher type are skipped.
//
// The hysteresis of a file is never taken: it belongs to the operator's autotune settings.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "core/records.h"

namespace qz {

class TTunerModel;

// Results of loading: 0, the file cannot be opened, the file is not an acceptable memory file.
inline constexpr int32_t kTunMemOk = 0;
inline constexpr int32_t kTunMemNotFound = 95;
inline constexpr int32_t kTunMemInvalid = 96;

inline constexpr int kTunMemIdLen = 11;
inline constexpr int kTunMemIdRecSize = 22;
inline constexpr int kTunMemV1Size = 520;
inline constexpr int kTunMemV2RecSize = 812;
inline constexpr int kTunMemIdentSize = 172;
inline constexpr int kTunMemMotorSize = 54;
inline constexpr int kTunMemCellSize = 512;
inline constexpr int kTunMemTableSize = 811;
inline constexpr int kTunMemCompactSize = 133;

// Record types of version 2.
enum TTunMemRecType : int {
  tmrHeader = 0,
  tmrIdentity = 1,
  tmrMotor = 2,
  tmrCellWaveguide = 3,
  tmrCellCoax = 4,
  tmrStubModel1 = 5,
  tmrStubModel2 = 6,
  tmrAutotune = 7,
};

// What a memory file holds.
struct TTunMemContent {
  TTunerDescr Descr;
  uint16_t MaxIter = kAtDefMaxIter;
  uint16_t BreakUp = kAtDefBreakUp;
  uint8_t HystDg = kAtDefHystDg;  // written, never taken
  friend bool operator==(const TTunMemContent&, const TTunMemContent&) = default;
};

TTunMemContent TunMemContentOf(const TTunerDescr& d, const TMotState& mot);

// The bytes of a memory file of version 1 or 2. omitTypes (version 2): a bit per record type
// left out, so damaged files can be made. Version 1 keeps rows 1..4 and columns 0..3 of the stub
// models, as its compact tables hold no more.
QByteArray TunMemBytes(const TTunMemContent& c, int version, unsigned omitTypes = 0);
// Writes a memory file safely; false with the reason.
bool WriteTunMemFile(const QString& path, const TTunMemContent& c, int version, QString& error);

// The version named by the identification of the first 22 bytes: -1 when they hold no
// identification (a wrong length byte, fewer bytes, characters that are not digits).
int TunMemVersion(const QByteArray& bytes);

// Reads the bytes of a memory file over a copy of `current`: a value the file holds replaces
// the copy's when it passes the rule of its description key, otherwise the key's default or
// the present value stands (as when a setup line is read). Version 1 holds no cell block: those
// fields keep their values. Returns kTunMemOk with `out` filled, or kTunMemInvalid (out is then
// unspecified).
int32_t ReadTunMem(const QByteArray& bytes, const TTunMemContent& current, TTunMemContent& out);

// Loads a memory file into the model's records: on success the description, the maximum
// iterations and the break-up are replaced and the operator's maximum insertion is unset, so the
// new tuner's own travel applies. On failure nothing changes. The caller runs the common update.
int32_t LoadTunMemFile(const QString& path, TTunerModel& model);

}  // namespace qz
