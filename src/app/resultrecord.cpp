#include "app/resultrecord.h"

#include <algorithm>
#include <limits>

#include "core/qvwin.h"
#include "core/resultscsv.h"

namespace qz {

const std::array<TResultKey, kResultKeyCount>& ResultRecordKeys() {
  static const std::array<TResultKey, kResultKeyCount> keys = {{
      {"frame", 't'},    {"run", 'u'},          {"time", 's'},        {"freq_Hz", 'd'},
      {"mag_in", 'd'},   {"pha_in_deg", 'd'},   {"mag_load", 'd'},    {"pha_load_deg", 'd'},
      {"pinc_W", 'd'},   {"prfl_W", 'd'},       {"pabs_W", 'd'},      {"temp_C", 'd'},
      {"stub1_mm", 'd'}, {"stub2_mm", 'd'},     {"stub3_mm", 'd'},    {"status", 'y'},
      {"error", 'y'},    {"motor_status", 'y'}, {"motor_error", 'y'},
  }};
  return keys;
}

void TakeMeasuredValues(TResultRecord& r, const THresults& res) {
  r.freq_Hz = res.FreD;
  r.mag_in = res.Mag_m;
  r.pha_in_deg = res.Pha_m;
  r.mag_load = res.Mag_z;
  r.pha_load_deg = res.Pha_z;
  r.pinc_W = res.Pinc;
  r.prfl_W = res.Prfl;
  r.pabs_W = res.Pabs;
  r.temp_C = res.Temp;
}

TResultRecord MakeResultRecord(const TQvWin& qv, const TMerObjekt& frame, const TSwpStamp& stamp,
                               double mmPerStep) {
  TResultRecord r;
  r.frame = stamp.frame;
  r.run = stamp.run;
  r.time = UtcTimeText(stamp.utcMs);
  THresults res;
  TMotState mot = qv.Mot();
  const bool accepted = qv.DekodStored(frame, res, mot);
  if (accepted && res.qv_ok) {
    TakeMeasuredValues(r, res);
  } else {
    // Its values were not taken: none is claimed for it.
    const double none = std::numeric_limits<double>::quiet_NaN();
    r.freq_Hz = r.mag_in = r.pha_in_deg = r.mag_load = r.pha_load_deg = none;
    r.pinc_W = r.prfl_W = r.pabs_W = r.temp_C = none;
  }
  for (int k = kMotFirst; k <= kMotLast; ++k)
    r.stub_mm[size_t(k - kMotFirst)] = double(mot.ActPos[k]) * mmPerStep;
  r.status = frame[0];
  r.error = res.je_qv ? res.ErrByte : 0;
  r.motor_status = mot.MotStatus;
  r.motor_error = mot.MotError;
  return r;
}

std::optional<TResultRecord> LatestResultRecord(const TQvWin& qv, double mmPerStep) {
  if (qv.FramesAccepted() <= 0) return std::nullopt;
  return MakeResultRecord(qv, qv.LastAcceptedFrame(), qv.LastAcceptedStamp(), mmPerStep);
}

QList<QPair<QString, QVariant>> ResultRecordValues(const TResultRecord& r) {
  const double d[] = {r.freq_Hz,      r.mag_in,     r.pha_in_deg, r.mag_load,
                      r.pha_load_deg, r.pinc_W,     r.prfl_W,     r.pabs_W,
                      r.temp_C,       r.stub_mm[0], r.stub_mm[1], r.stub_mm[2]};
  const uint8_t y[] = {r.status, r.error, r.motor_status, r.motor_error};
  const auto& keys = ResultRecordKeys();
  QList<QPair<QString, QVariant>> v;
  v.reserve(kResultKeyCount);
  int at = 0;
  auto key = [&] { return QString::fromLatin1(keys[size_t(at++)].name); };
  v << qMakePair(key(), QVariant::fromValue(qulonglong(r.frame)));
  v << qMakePair(key(), QVariant::fromValue(uint(r.run)));
  v << qMakePair(key(), QVariant(r.time));
  for (double x : d) v << qMakePair(key(), QVariant(x));
  for (uint8_t b : y) v << qMakePair(key(), QVariant::fromValue(uchar(b)));
  return v;
}

QString FrameBeyondNewestText(uint64_t sinceFrame, int64_t newest) {
  return QStringLiteral("There is no frame %1 yet: the newest accepted frame is %2.")
      .arg(sinceFrame)
      .arg(newest);
}

TResultRows ResultRecordsSince(const TQvWin& qv, double mmPerStep, uint64_t sinceFrame) {
  TResultRows out;
  const int64_t newest = qv.FramesAccepted();
  if (sinceFrame > uint64_t(newest)) {
    out.error = FrameBeyondNewestText(sinceFrame, newest);
    return out;
  }
  const int64_t since = int64_t(sinceFrame);
  // The held frames after `since`, by number (a rotated series keeps another order).
  const TOneSweep& swp = qv.LastSwp;
  std::vector<std::pair<int64_t, int32_t>> held;
  for (int32_t k = 0; k < swp.Count(); ++k) {
    const int32_t slot = swp.OldestFirst(k);
    const int64_t frame = swp.Stamp(slot).frame;
    if (frame > since) held.emplace_back(frame, slot);
  }
  std::sort(held.begin(), held.end());
  const bool cut = held.size() > size_t(kResultRowsMax);
  if (cut) held.resize(size_t(kResultRowsMax));
  out.rows.reserve(held.size());
  for (const auto& [frame, slot] : held)
    out.rows.push_back(MakeResultRecord(qv, swp.Frame(slot), swp.Stamp(slot), mmPerStep));
  const int64_t upTo = cut ? held.back().first : newest;
  out.missed = std::max<int64_t>(0, upTo - since - int64_t(held.size()));
  return out;
}

}  // namespace qz
