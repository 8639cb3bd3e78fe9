#include "display/rhoexport.h"

#include <QDir>
#include <QFileInfo>

#include "core/records.h"
#include "display/rhopad.h"
#include "util/atomicfile.h"
#include "util/format.h"
#include "util/numutil.h"

namespace qz {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

double Unscaled(int32_t v) { return v / kRhoAreaScale; }
}  // namespace

TStubInfo GetStubInfo(const TTunerDescr& d, int32_t divisions) {
  const int32_t maxSteps = d.MaxSteps;
  // One division (or none) would divide by zero: the whole travel is then one step.
  const double per = divisions > 1 ? double(maxSteps) / double(divisions - 1) : double(maxSteps);
  TStubInfo s;
  s.steps = ClampLowWins(RoundToInt32(per), int32_t(0), maxSteps);
  s.mm = s.steps * d.MmPerStep;
  return s;
}

QString AreaExportText(const TRhoArea& area, int kind, int plane, const QString& freqText,
                       const QString& saveTxtInfo, const TTunerDescr& d) {
  QString t = Format(QStringLiteral("Area=%s Referred to=%s Freq=%s"),
                     {AreaKindCaption(kind), AreaPlaneCaption(plane), freqText});
  t += saveTxtInfo + kCrLf + kCrLf;
  const TStubInfo s = GetStubInfo(d, kAreaNquant);
  t += Format(QStringLiteral("Stub: MaxSteps=%d MmPerStep=%1.3f Nquant=%d  Steps:\t%d\t%1.3f\tmm"),
              {int(d.MaxSteps), d.MmPerStep, kAreaNquant, s.steps, s.mm}) +
       kCrLf;
  t += QStringLiteral("No\tA12.re\tA12.im\tA23.re\tA23.im") + kCrLf;
  for (int i = 0; i < kRhoAreaPts; ++i) {
    const TRhoPt& a = area[static_cast<std::size_t>(i)];
    const TRhoPt& b = area[static_cast<std::size_t>(kRhoAreaPts + i)];
    t += Format(QStringLiteral("%d\t%7.4f\t%7.4f\t%7.4f\t%7.4f"),
                {i, Unscaled(a.re), Unscaled(a.im), Unscaled(b.re), Unscaled(b.im)}) +
         kCrLf;
  }
  return t;
}

QString AreaFileName(int index) {
  return QStringLiteral("Area_") + Format(QStringLiteral("%3.3d"), {index}) +
         QStringLiteral(".txt");
}

TAreaTarget NextAreaFile(const QString& folder) {
  const QDir dir(folder);
  TAreaTarget t;
  for (int i = 0; i < kAreaFileCount; ++i) {
    t.path = dir.filePath(AreaFileName(i));
    if (!QFileInfo::exists(t.path) && !QFileInfo(t.path).isSymLink()) {
      t.free = true;
      return t;
    }
  }
  return t;
}

TAreaExportResult ExportAreaText(const QString& folder, const QString& text) {
  const TAreaTarget target = NextAreaFile(folder);
  TAreaExportResult r;
  r.path = target.path;
  r.ok = target.free && WriteFileAtomic(target.path, text.toUtf8()).ok();
  r.message = (r.ok ? QStringLiteral("Saved to") : QStringLiteral("File write error")) + kCrLf +
              QDir::toNativeSeparators(target.path);
  return r;
}

}  // namespace qz
