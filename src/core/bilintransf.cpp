#include "core/bilintransf.h"

#include <QFileInfo>
#include <algorithm>

#include "core/sparfile.h"
#include "core/texttokens.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/format.h"

namespace qz {

namespace {

complex Lerp(const complex& x, const complex& y, double t) {
  return complex(x.re + (y.re - x.re) * t, x.im + (y.im - x.im) * t);
}

int ValidForm(int form) { return form == cfMagRad || form == cfMagDeg ? form : cfRect; }

}  // namespace

void TBilinTransf::Clear() {
  FEnabled = false;
  FActive = false;
  FSLoaded = false;
}

TBilinCoefs TBilinTransf::CoefsAt(double f) const {
  const size_t n = std::min({FBis.ff.size(), FBis.aa.size(), FBis.bb.size(), FBis.cc.size()});
  TBilinCoefs k;
  if (n == 0) return k;
  auto entry = [this](size_t i) { return TBilinCoefs{FBis.aa[i], FBis.bb[i], FBis.cc[i]}; };
  if (f <= FBis.ff[0]) return entry(0);
  if (f >= FBis.ff[n - 1]) return entry(n - 1);
  // The search starts at the first entry every time; a frequency between the ends always
  // finds one. A frequency that compares with nothing (NaN) takes the last entry rather than
  // interpolating with it, which would read before the table of a single entry.
  size_t k1 = 0;
  for (size_t i = 1; i < n; ++i) {
    if (f <= FBis.ff[i]) {
      k1 = i;
      break;
    }
  }
  if (k1 == 0) return entry(n - 1);
  const double f0 = FBis.ff[k1 - 1];
  const double f1 = FBis.ff[k1];
  // Two entries at one frequency give their mean rather than a division by zero.
  const double t = f1 == f0 ? 0.5 : (f - f0) / (f1 - f0);
  k.a = Lerp(FBis.aa[k1 - 1], FBis.aa[k1], t);
  k.b = Lerp(FBis.bb[k1 - 1], FBis.bb[k1], t);
  k.c = Lerp(FBis.cc[k1 - 1], FBis.cc[k1], t);
  return k;
}

complex TBilinTransf::TransformLoadToInput(const complex& g, double f) const {
  return BilinLoadToInput(CoefsAt(f), g);
}

complex TBilinTransf::TransformInputToLoad(const complex& gin, double f) const {
  return BilinInputToLoad(CoefsAt(f), gin);
}

QString TBilinTransf::StartPath() const {
  QString initial = NormalizePath(Path);
  if (!initial.contains(QLatin1Char('/'))) initial = UserFolder() + initial;
  return initial;
}

TSparLoad TBilinTransf::LoadSParams(const QString& path, TArrD& freqs,
                                    std::vector<TSmatrix>& matrices) {
  FSLoaded = false;
  Path = path;
  TSparLoad out;
  QStringList lines;
  QString reason;
  if (!ReadTextLines(path, TFileKind::SParams, &lines, &reason)) {
    out.isError = true;
    out.message = QStringLiteral("Unable to read file:\r\n    ") + path +
                  (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason) +
                  QStringLiteral("\r\n\r\nInput file analysis aborted.");
    return out;
  }
  TSparFileResult r = ParseSparLines(lines, QFileInfo(path).fileName());
  out.isError = r.isError;
  out.message = r.message;
  out.valid = r.valid;
  freqs = std::move(r.freqs);
  matrices = std::move(r.matrices);
  FSLoaded = r.valid;
  return out;
}

void TBilinTransf::SToBilinAll(const TArrD& freqs, const std::vector<TSmatrix>& matrices) {
  if (FSLoaded) {
    const size_t n = std::min(freqs.size(), matrices.size());
    FBis.ff.assign(freqs.begin(), freqs.begin() + std::ptrdiff_t(n));
    FBis.aa.resize(n);
    FBis.bb.resize(n);
    FBis.cc.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const TBilinCoefs k = SToBilin(matrices[i]);
      FBis.aa[i] = k.a;
      FBis.bb[i] = k.b;
      FBis.cc[i] = k.c;
    }
  }
  FEnabled = FSLoaded;
  FActive = FSLoaded;
}

TSparLoad TBilinTransf::LoadAndConvert(const QString& path) {
  TArrD freqs;
  std::vector<TSmatrix> matrices;
  const TSparLoad r = LoadSParams(path, freqs, matrices);
  SToBilinAll(freqs, matrices);
  return r;
}

void TBilinTransf::LoadCancelled() {
  FSLoaded = false;
  SToBilinAll({}, {});
}

QString TBilinTransf::BiStructToStr(int inForm, int outForm, QChar decSep) const {
  inForm = ValidForm(inForm);
  outForm = ValidForm(outForm);
  QString s1 = QStringLiteral("re");
  QString s2 = QStringLiteral("im");
  QString pattern = QStringLiteral("\t%.4f\t%.4f");
  if (outForm == cfMagRad) {
    s1 = QStringLiteral("mg");
    s2 = QStringLiteral("rad");
    pattern = QStringLiteral("\t%.4f\t%.3f");
  } else if (outForm == cfMagDeg) {
    s1 = QStringLiteral("mg");
    s2 = QStringLiteral("deg");
    pattern = QStringLiteral("\t%.4f\t%.2f");
  }
  QString out = QStringLiteral("f_MHz\ta.") + s1 + QStringLiteral("\ta.") + s2 +
                QStringLiteral("\tb.") + s1 + QStringLiteral("\tb.") + s2 + QStringLiteral("\tc.") +
                s1 + QStringLiteral("\tc.") + s2 + QStringLiteral("\r\n");
  const size_t n = std::min({FBis.ff.size(), FBis.aa.size(), FBis.bb.size(), FBis.cc.size()});
  for (size_t i = 0; i < n; ++i) {
    out += Format(QStringLiteral("%.2f"), {FBis.ff[i] / 1e6}, decSep);
    for (const complex* v : {&FBis.aa[i], &FBis.bb[i], &FBis.cc[i]}) {
      const complex z = RectToCfmt(CfmtToRect(*v, inForm), outForm);
      out += Format(pattern, {z.re, z.im}, decSep);
    }
    out += QStringLiteral("\r\n");
  }
  return out;
}

}  // namespace qz
