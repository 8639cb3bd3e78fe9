#pragma once
// The typed record of one accepted frame, as the remote control reads it: the frame's number
// and run, its receive time and its values at full precision, decoded again from the frame's
// bytes as every reader of the sweep does (the present plane extension and transform apply).
// The same record answers the bus (GetResult, GetResults) and the instrument socket (MEAS:ALL?
// and the other MEAS queries), in this order of keys:
//
//   frame t, run u, time s, freq_Hz d, mag_in d, pha_in_deg d, mag_load d, pha_load_deg d,
//   pinc_W d, prfl_W d, pabs_W d, temp_C d, stub1_mm d, stub2_mm d, stub3_mm d, status y,
//   error y, motor_status y, motor_error y
//
// (the letters are the bus's type codes). A frame without a valid measurement (a motor block
// only, or the invalid bit of its error byte set) carries no measured values: they are NaN.
// The stubs and motor bytes are those the motor state holds after the frame.

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/records.h"

namespace qz {

class TQvWin;
struct TSwpStamp;

struct TResultRecord {
  int64_t frame = 0;  // program-wide count of accepted frames, from 1
  uint32_t run = 0;   // the run that took it (from 1; 0 outside a run)
  QString time;       // UTC receive time, "2026-12-10T14:03:27.481Z"
  double freq_Hz = 0.0, mag_in = 0.0, pha_in_deg = 0.0, mag_load = 0.0, pha_load_deg = 0.0;
  double pinc_W = 0.0, prfl_W = 0.0, pabs_W = 0.0, temp_C = 0.0;
  std::array<double, 3> stub_mm{};
  uint8_t status = 0, error = 0, motor_status = 0, motor_error = 0;
};

// A key of the record and its bus type code ('t', 'u', 's', 'd' or 'y').
struct TResultKey {
  const char* name;
  char type;
};
inline constexpr int kResultKeyCount = 19;
const std::array<TResultKey, kResultKeyCount>& ResultRecordKeys();

// Copies a decoded result's measured values (frequency, both reflections, the three powers and
// the temperature) into the record; the frame, time, stubs and bytes stay as they are.
void TakeMeasuredValues(TResultRecord& r, const THresults& res);
// The record of a frame with its stamp; mmPerStep turns motor steps into mm.
TResultRecord MakeResultRecord(const TQvWin& qv, const TMerObjekt& frame, const TSwpStamp& stamp,
                               double mmPerStep);
// The record of the last accepted frame; none before the first one.
std::optional<TResultRecord> LatestResultRecord(const TQvWin& qv, double mmPerStep);

// The record's values in the keys' order, each a QVariant of its type (qulonglong, uint,
// QString, double, uchar).
QList<QPair<QString, QVariant>> ResultRecordValues(const TResultRecord& r);

// At most this many rows a reply.
inline constexpr int kResultRowsMax = 1000;

struct TResultRows {
  std::vector<TResultRecord> rows;  // oldest first by frame number
  int64_t missed = 0;               // later frames not among the rows nor held any more
  QString error;                    // a frame number beyond the newest accepted one
  bool ok() const { return error.isEmpty(); }
};
// The frames the current sweep holds after frame `sinceFrame` (at most kResultRowsMax, the
// oldest first). `missed` counts the frames after `sinceFrame` up to the last row (up to the
// newest accepted frame when no row was left for the next reply) that the sweep no longer
// holds or never held, so that a reader that asks again from the last row it got knows what it
// has lost. A `sinceFrame` beyond the newest accepted frame is an error naming the newest.
// The error of a frame number beyond the newest accepted one.
QString FrameBeyondNewestText(uint64_t sinceFrame, int64_t newest);
TResultRows ResultRecordsSince(const TQvWin& qv, double mmPerStep, uint64_t sinceFrame);

}  // namespace qz
