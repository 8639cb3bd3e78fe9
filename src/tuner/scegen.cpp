#include "tuner/scegen.h"

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "sim/autotune.h"
#include "sim/tunermodel.h"
#include "util/atomicfile.h"
#include "util/fileops.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/readfile.h"
#include "util/strtools.h"
#include "util/valueinput.h"

namespace qz {

namespace {

// Positive remainder of an angle in degrees: 0 <= result < 360.
double Wrap360(double deg) {
  double r = std::fmod(deg, 360.0);
  if (r < 0.0) r += 360.0;
  if (r >= 360.0) r = 0.0;
  return r;
}

// The arc the rings walk: (stop - start), negated when clockwise, brought into 0 .. <360.
double SegmentSpan(double startDeg, double stopDeg, bool clockwise) {
  const double d = stopDeg - startDeg;
  return Wrap360(clockwise ? -d : d);
}

QString Int(int64_t v) { return Format(QStringLiteral("%d"), {v}); }

}  // namespace

QString TSceGenRead::ErrorBoxText() const {
  if (errors.isEmpty()) return {};
  return Format(QStringLiteral("Incorrect inputs: %s.\r\nChanged to defaults."), {errors});
}

TSceGenRead ReadSceGenEntries(const TSceGenEntries& e) {
  TSceGenRead r;
  TSceGenValues& v = r.v;
  v.Rstart = ValidateIntEdit(e.Rstart, QStringLiteral("Start"), 0, 1000, 0, r.errors);
  v.Rstop = ValidateIntEdit(e.Rstop, QStringLiteral("Stop"), 0, 1000, 800, r.errors);
  v.Rstep = ValidateIntEdit(e.Rstep, QStringLiteral("Step"), 10, 1000, 100, r.errors);
  v.StartAngle =
      ValidateIntEdit(e.StartAngle, QStringLiteral("Start Angle"), -360, 360, -45, r.errors);
  v.StopAngle = ValidateIntEdit(e.StopAngle, QStringLiteral("Stop Angle"), -360, 360, 45, r.errors);
  v.Rot = ValidateIntEdit(e.Rot, QStringLiteral("Rot"), 0, 359, 0, r.errors);
  v.Dwell = ValidateIntEdit(e.Dwell, QStringLiteral("Dwell"), 0, 2147483647, 500, r.errors);
  r.texts = {Int(v.Rstart),    Int(v.Rstop), Int(v.Rstep), Int(v.StartAngle),
             Int(v.StopAngle), Int(v.Rot),   Int(v.Dwell)};
  return r;
}

bool SegmentArcTest(double phaseDeg, double startDeg, double stopDeg, bool clockwise) {
  constexpr double kTol = 1e-9;
  const double span = SegmentSpan(startDeg, stopDeg, clockwise);
  double d = Wrap360(clockwise ? startDeg - phaseDeg : phaseDeg - startDeg);
  // A phase a rounding error short of the start lies on the start itself.
  if (d > 360.0 - kTol) d = 0.0;
  return d <= span + kTol;
}

std::vector<complex> CreateListPoints(const TSceGenValues& v, const TSceGenOptions& o) {
  std::vector<complex> pts;
  const complex rot = CPolarDeg(1.0, v.Rot);
  const double step = std::max<int32_t>(v.Rstep, 1);  // the entry's limits keep it >= 10
  if (o.Trajectory == kTrajCirc) {
    const double dR = v.Rstop < v.Rstart ? -1.0 : 1.0;
    const double dA = o.Clockwise ? -1.0 : 1.0;
    double startA = 0.0, stopA = 360.0, span = 360.0;
    if (o.Segment) {
      startA = v.StartAngle;
      stopA = v.StopAngle;
      span = SegmentSpan(startA, stopA, o.Clockwise);
    }
    double s = 1.0;
    double a0 = startA;
    const int32_t rings = RoundToInt32(std::abs(double(v.Rstop) - v.Rstart) / step);
    for (int32_t r = 0; r <= rings; ++r) {
      const double m = v.Rstart + r * step * dR;
      int32_t n = RoundToInt32(span * kPi / 180.0 * m / step);
      int32_t count = n;
      if (n <= 0) {
        n = 1;
        count = 1;
      } else if (o.Segment) {
        count = n + 1;
      }
      for (int32_t j = 0; j < count; ++j) {
        const double a = j * span / n * dA * s + a0 + v.Rot;
        pts.push_back(CPolarDeg(m / 1000.0, a));
      }
      if (o.Shuttle) {
        s = -s;
        a0 = a0 == startA ? stopA : startA;
      }
    }
  } else {
    const int32_t lo = std::min(v.Rstart, v.Rstop);
    const int32_t hi = std::max(v.Rstart, v.Rstop);
    const int32_t b = hi / int32_t(step);
    for (int32_t i = -b; i <= b; ++i) {
      for (int32_t k = -b; k <= b; ++k) {
        const complex p(i * step / 1000.0, k * step / 1000.0);
        const double mag = 1000.0 * CAbs(p);
        if (mag < lo - 1 || mag > hi + 1) continue;
        if (o.Segment && !SegmentArcTest(CArgDeg(p), v.StartAngle, v.StopAngle, o.Clockwise))
          continue;
        pts.push_back(v.Rot == 0 ? p : p * rot);
      }
    }
  }
  if (o.AddMatch) pts.push_back(complex(0.0, 0.0));
  return pts;
}

QStringList CreateListLines(const std::vector<complex>& pts, double fHz) {
  QStringList lines;
  lines.reserve(qsizetype(pts.size()) + 2);
  lines << QStringLiteral("#\tMHz\tRfl_Re\tRfl_Im");
  const QString f = HzToMHzText(fHz);
  // Adding 0.0 turns a negative zero into a plain zero, so no "-0.0000" is written.
  for (const complex& p : pts)
    lines << Format(QStringLiteral("\t%s\t%.4f\t%.4f"), {f, p.re + 0.0, p.im + 0.0});
  lines << QStringLiteral("End");
  return lines;
}

QString GeneratedSetInfo(const TSceGenEntries& e, const TSceGenOptions& o) {
  QString s = Format(QStringLiteral("%s to %s step %s mU. "), {e.Rstart, e.Rstop, e.Rstep});
  if (o.Segment) {
    QString dir = o.Clockwise ? QStringLiteral("clkw") : QStringLiteral("cclkw");
    if (o.Shuttle) dir += QStringLiteral("+shtl");
    s += Format(QStringLiteral("Segm %s to %s dg %s. "), {e.StartAngle, e.StopAngle, dir});
  }
  s += Format(QStringLiteral("Rot=%s dg."), {e.Rot});
  return s;
}

QString SceInfoLine(const TTunerDescr& d, bool transfActive, const QString& sparPath,
                    const QString& info) {
  const QString id = Format(QStringLiteral("%s V%d.%d/%d. Transf="),
                            {d.IntMdl, int(d.ModelNo), int(d.ModifNo), int(d.SerNum)});
  const QString tr = transfActive ? QFileInfo(sparPath).fileName() : QStringLiteral("NO");
  return Format(QStringLiteral("SceInfo = %s%s. %s"), {id, tr, info.trimmed()});
}

std::vector<TSceRecord> RowRecords(const std::vector<TSceRecord>& recs, bool skipMatches) {
  std::vector<TSceRecord> out;
  out.reserve(recs.size());
  for (size_t i = 0; i < recs.size(); ++i) {
    if (skipMatches && CAbs(recs[i].rho) < 0.001 && i + 1 < recs.size()) continue;
    out.push_back(recs[i]);
  }
  return out;
}

namespace {

// One worker's tuner: its own records, model and autotune.
class TRowWorker {
 public:
  explicit TRowWorker(const TSceModelCopy& c) : c_(c), m_(c_.descr, c_.mot, c_.sim), at_(m_) {
    // Exact matches: no target, no tolerance, no hysteresis.
    c_.mot.Targ_mU = 0;
    c_.mot.Toler_mU = 0;
    c_.mot.HystDg = 0;
    m_.UpdateAtParams();
    m_.DerivedAt();
    startTarg_ = c_.mot.TargPos;
    startAct_ = c_.mot.ActPos;
    startPair_ = m_.PairMode;
  }

  QString Row(const TSceRecord& r, int no, int32_t dwell) {
    if (r.fHz != lastF_) {
      m_.TU_FillFreqPars(r.fHz);
      lastF_ = r.fHz;
    }
    // Every record starts from the same state, so a row never depends on the one before it
    // (nor on how the records were split over the workers).
    c_.mot.TargPos = startTarg_;
    c_.mot.ActPos = startAct_;
    m_.PairMode = startPair_;
    complex g = c_.transf.GetActive() ? c_.transf.FromShown(r.rho, r.fHz) : r.rho;
    g = CConj(g) * CPolar(1.0, 2.0 * m_.Freq().Theta[3]);
    at_.TU_AutoTun(g);
    const double mm = m_.Derived().StepMm;
    const TMotPos& p = c_.mot.TargPos;
    return Format(QStringLiteral("%d\t=\t%3.3f\t%3.3f\t%3.3f\t%d\t%.3f\t%.2f\t%s\t%.4f\t%.4f"),
                  {no, p[3] * mm, p[2] * mm, p[1] * mm, dwell, CAbs(r.rho), CArgDeg(r.rho),
                   HzToMHzText(r.fHz), r.rho.re + 0.0, r.rho.im + 0.0});
  }

 private:
  TSceModelCopy c_;
  TTunerModel m_;
  TAutoTune at_;
  TMotPos startTarg_, startAct_;
  bool startPair_ = false;
  double lastF_ = std::nan("");
};

}  // namespace

QStringList MakeScenarioRows(const TSceModelCopy& copy, const std::vector<TSceRecord>& recs,
                             int firstRowNo, int32_t dwellMs, int workers,
                             const std::atomic<bool>* cancel,
                             const std::function<void(int)>& progress) {
  const int n = int(recs.size());
  if (n == 0) return {};
  const int w = std::clamp(workers, 1, n);
  std::vector<QString> rows(static_cast<size_t>(n));
  std::atomic<int> done{0};
  auto run = [&](int from, int to) {
    TRowWorker worker(copy);
    for (int i = from; i < to; ++i) {
      if (cancel && cancel->load(std::memory_order_relaxed)) return;
      rows[size_t(i)] = worker.Row(recs[size_t(i)], firstRowNo + i, dwellMs);
      done.fetch_add(1, std::memory_order_relaxed);
    }
  };
  if (w == 1) {
    // Progress in steps of about a hundredth, so a caller's dialog is not flooded.
    const int chunk = std::max(1, n / 100);
    for (int from = 0; from < n; from += chunk) {
      run(from, std::min(n, from + chunk));
      if (cancel && cancel->load()) return {};
      if (progress) progress(done.load());
    }
  } else {
    std::vector<std::thread> threads;
    threads.reserve(size_t(w));
    for (int k = 0; k < w; ++k)
      threads.emplace_back(run, int(int64_t(n) * k / w), int(int64_t(n) * (k + 1) / w));
    int last = -1;
    while (done.load() < n && !(cancel && cancel->load())) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (progress && done.load() != last) progress(last = done.load());
    }
    for (std::thread& t : threads) t.join();
    if (cancel && cancel->load()) return {};
    if (progress && last != n) progress(n);
  }
  QStringList out;
  out.reserve(n);
  for (QString& r : rows) out << std::move(r);
  return out;
}

namespace {

// The row number of a scenario row line ("12\t=\t..."), or 0 for any other line.
int RowNumber(const QString& line) {
  const qsizetype tab = line.indexOf(QChar('\t'));
  if (tab <= 0) return 0;
  bool ok = false;
  const int no = line.left(tab).trimmed().toInt(&ok);
  return ok ? no : 0;
}

// A row whose three positions are all 0.
bool IsAllZeroRow(const QString& line) {
  if (RowNumber(line) <= 0) return false;
  const QStringList t = line.split(QChar('\t'));
  if (t.size() < 5) return false;
  for (int i = 2; i <= 4; ++i) {
    bool ok = false;
    const double x = t[i].trimmed().toDouble(&ok);
    if (!ok || x != 0.0) return false;
  }
  return true;
}

}  // namespace

TSceOutputPlan PlanSceOutput(const QStringList& output, bool append, const QString& sceInfo,
                             const QString& info, int page) {
  TSceOutputPlan p;
  if (!append || output.size() < 3) {
    p.head << QStringLiteral("[Scenario Info]") << sceInfo
           << Format(QStringLiteral("[Page%d]"), {page});
    p.firstRowNo = 1;
    return p;
  }
  p.head = output;
  p.head[1] = Format(QStringLiteral("%s Add %s "), {output[1].trimmed(), info.trimmed()});
  while (!p.head.isEmpty() && p.head.last().trimmed().isEmpty()) p.head.removeLast();
  if (!p.head.isEmpty() && IsAllZeroRow(p.head.last())) p.head.removeLast();
  // The new rows continue the numbering of the last row left.
  for (qsizetype i = p.head.size() - 1; i >= 2; --i) {
    const int no = RowNumber(p.head[i]);
    if (no > 0) {
      p.firstRowNo = no + 1;
      break;
    }
  }
  return p;
}

int32_t SceMakeDwellMs(const QString& entry) {
  bool ok = false;
  const int dwell = entry.trimmed().toInt(&ok);
  if (!ok) return 500;
  return std::max(dwell, 0);
}

QString SaveGeneratorText(const QString& path, const QStringList& lines, bool list) {
  const QByteArray bytes = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
  const TFileKind kind = list ? TFileKind::List : TFileKind::Scenario;
  if (ExceedsLimit(bytes.size(), kind)) return TooLargeToWriteText(path, kind);
  const AtomicWriteResult r = WriteFileAtomic(path, bytes);
  if (r.ok()) return QString();
  const QString reason =
      r.status == AtomicWriteStatus::NotRegularFile ? NotRegularFileText(path) : r.reason;
  return QStringLiteral("File \"") + path + QStringLiteral("\" could not be saved: ") + reason;
}

}  // namespace qz
