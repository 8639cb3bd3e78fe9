#include "tuner/sceplay.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "comm/qzcmd.h"
#include "core/onesweep.h"
#include "core/qvwin.h"
#include "tuner/scestp.h"
#include "util/appendfile.h"
#include "util/asker.h"
#include "util/atomicfile.h"
#include "util/clock.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kWinTime = QStringLiteral("\tWinTime");
constexpr int kAlarmHz = 1000;
constexpr int kAlarmMs = 400;
constexpr int kNoticeMs = 1500;

// The results header without its closing "WinTime".
QString ResultsColumnsHeader() {
  QString h = SaveTxtHeader(true);
  if (h.endsWith(kWinTime)) h.chop(kWinTime.size());
  return h;
}

QString DateText(const QDateTime& t) { return SavedDateTimeText(t, QLocale()); }

}  // namespace

// ---- files ----

TSceOutResult TSceFileSink::Create(const QString& path) {
  const AtomicWriteResult r = WriteFileAtomic(path, QByteArray());
  if (r.ok()) return {};
  return {false,
          r.status == AtomicWriteStatus::NotRegularFile ? NotRegularFileText(path) : r.reason};
}

TSceOutResult TSceFileSink::Append(const QString& path, const QByteArray& bytes) {
  // An append never makes a missing file: a file deleted during the run is reported.
  const TAppendResult r = AppendToFile(path, bytes);
  if (r.ok) return {};
  if (r.error == ENOENT) return {false, QStringLiteral("The file no longer exists")};
  return {false, r.reason};
}

// ---- statistics ----

TSceStats ComputeStats(const std::vector<THresults>& results) {
  TSceStats s;
  const size_t n = results.size();
  if (n == 0) return s;
  std::array<TArrD, vdCount> xx;
  std::array<TArrC, vcCount> rho;
  for (const THresults& r : results) {
    xx[vdF].push_back(r.FreD);
    xx[vdPi].push_back(r.Pinc);
    xx[vdPr].push_back(r.Prfl);
    xx[vdPa].push_back(r.Pabs);
    xx[vdT].push_back(r.Temp);
    xx[vdE].push_back(double(r.ErrByte));
    rho[vcRi].push_back(r.Rho_m);
    rho[vcRl].push_back(r.Rho_z);
  }
  for (int q = 0; q < vdCount; ++q) {
    double sum = 0.0;
    for (double v : xx[size_t(q)]) sum += v;
    const double mean = sum / double(n);
    double sq = 0.0;
    for (double v : xx[size_t(q)]) sq += (v - mean) * (v - mean);
    s.MeanF[size_t(q)] = mean;
    s.DeviF[size_t(q)] = n > 1 ? std::sqrt(sq / double(n - 1)) : 0.0;
  }
  for (int q = 0; q < vcCount; ++q) {
    const TMeanDev md = ComplexMeanDev(rho[size_t(q)], 0, 2);
    s.MeanC[size_t(q)] = md.mean;
    s.RDeviC[size_t(q)] = md.dev;
  }
  THresults& st = s.Statis;
  st.je_qv = true;
  st.qv_ok = true;
  st.FreD = s.MeanF[vdF];
  st.Fre = RoundToInt32(st.FreD / 10.0);
  st.Pinc = s.MeanF[vdPi];
  st.Prfl = s.MeanF[vdPr];
  st.Temp = s.MeanF[vdT];
  st.ErrByte = uint8_t(ClampLowWins(RoundToInt32(s.MeanF[vdE]), 0, 255));
  st.Mag_m = s.MeanC[vcRi].re;
  st.Pha_m = s.MeanC[vcRi].im;
  st.Mag_z = s.MeanC[vcRl].re;
  st.Pha_z = s.MeanC[vcRl].im;
  st.Rho_m = CPolarDeg(st.Mag_m, st.Pha_m);
  st.Rho_z = CPolarDeg(st.Mag_z, st.Pha_z);
  return s;
}

QString StatsColumns(const TSceStats& s, QChar sep) {
  return Format(QStringLiteral("\t%1.5e\t%1.3f\t%1.4f\t%1.4f\t%1.4f\t%1.2f\t%1.2f\t%1.4f\t%1.4f"),
                {s.MeanF[vdPa] / 1000.0, s.DeviF[vdF] / 1e6, s.RDeviC[vcRi], s.DeviF[vdPi],
                 s.DeviF[vdPr], s.DeviF[vdT], s.DeviF[vdE], s.RDeviC[vcRl], s.DeviF[vdPa]},
                sep);
}

QString Out1Header() { return ResultsColumnsHeader() + QStringLiteral("\tPa_kW") + kWinTime; }

QString Out2Header(bool withWanted) {
  QString h = ResultsColumnsHeader() + QStringLiteral("\tPa_kW") +
              QStringLiteral("\tdf_MHz\tdMag\tdPi_W\tdPr_W\tdT_C\tdErr\tdMagL\tdPa_W");
  if (withWanted) h += QStringLiteral("\tMag_sc\tDg_sc\tf_sc\tRe_sc\tIm_sc");
  return h + kWinTime;
}

// ---- the engine ----

TScePlay::TScePlay(TScePlayPorts& ports, TAsker& asker) : ports_(ports), asker_(asker) {}

void TScePlay::SetMeasurement(TQzCmd* cmd, const TTunerDescr* tu) {
  cmd_ = cmd;
  qv_ = cmd ? &cmd->Qv() : nullptr;
  tu_ = tu;
}

bool TScePlay::Wait(int64_t ms) {
  int64_t left = std::max<int64_t>(0, ms);
  while (left > 0 && !released_) {
    const int slice = int(std::min<int64_t>(left, kSceWaitSliceMs));
    ports_.Sleep(slice);
    left -= slice;
  }
  return !released_;
}

void TScePlay::GoToRow(const TScePage& page, int32_t row) {
  if (row < 1 || row > page.LastRow()) return;
  const TSceRow& r = page.Row(row);
  std::array<int, 3> steps{};
  for (size_t i = 0; i < 3; ++i) steps[i] = MmToSteps(r.S[i], ports_.StepMm(), ports_.MaxSteps());
  ports_.MoveStubs(steps);
}

void TScePlay::PlayPlain(TScePage& page, bool cyclic) {
  if (playing_) return;
  if (page.LastRow() == 0) {
    asker_.ShowError(QString::fromLatin1(kSceEmptyText));
    ports_.Released();
    return;
  }
  if (page.SelectedRow > page.LastRow()) {
    asker_.ShowWarning(QString::fromLatin1(kSceSelectStartText));
    ports_.Released();
    return;
  }
  playing_ = true;
  measured_ = false;
  released_ = false;
  page_ = &page;
  ports_.EnableEditing(false);
  page.IteratedRow = page.SelectedRow;
  while (page.IteratedRow <= page.LastRow() && !released_) {
    ports_.SetStatus(
        Format(QStringLiteral("Progress: %d of %d"), {page.IteratedRow, page.LastRow()}));
    GoToRow(page, page.IteratedRow);
    ports_.RowChanged();
    Wait(DwellMs(page.Row(page.IteratedRow).T));
    ++page.IteratedRow;
    ports_.ProcessEvents();
    if (!released_ && page.IteratedRow > page.LastRow() && cyclic) page.IteratedRow = 1;
  }
  Finish(true);
}

void TScePlay::Finish(bool plain) {
  (void)plain;
  playing_ = false;
  page_ = nullptr;
  ports_.EnableEditing(true);
  ports_.Released();
  ports_.SetStatus(QString());
  ports_.RowChanged();
}

QString TScePlay::PrepareErrorText(int code) {
  static const char* const texts[] = {"", "Sending of individual samples must be switched off",
                                      "Quzar could not be stopped",
                                      "Autotuning could not be switched off"};
  const QString t = code >= 1 && code <= 3 ? QString::fromLatin1(texts[code]) : QString();
  return Format(QStringLiteral("Error %d: %s.\r\nProcedure aborted."), {code, t});
}

int TScePlay::PrepareUnit() {
  if (qv_ && BlockSamplingOn(qv_->VarPar.Waveform, qv_->Rectif, qv_->Pulsed)) return 1;
  if (ports_.IsSweeping()) ports_.RunPause();
  if (!ports_.StopUnit()) return 2;
  const int32_t code = ports_.AutotuneOff();
  if (code != 0) {
    ports_.ShowCmdResult(QStringLiteral("Autotune ON/OFF"), code);
    return 3;
  }
  ports_.ReleaseAtButton();
  return 0;
}

void TScePlay::Put(TOut& out, const QString& text) {
  if (!out.used || out.failed) return;
  TSceOutSink& sink = sink_ ? *sink_ : fileSink_;
  const TSceOutResult r = sink.Append(out.path, text.toUtf8());
  if (r.ok) return;
  out.failed = true;
  // The run ends as an abort does; the other file is still completed. One message a run.
  if (!writeErrorShown_) {
    writeErrorShown_ = true;
    asker_.ShowError(QStringLiteral("Output file \"") + out.path +
                     QStringLiteral("\" could not be written: ") + r.reason +
                     QStringLiteral(".\r\nScenario interrupted."));
  }
  aborted_ = true;
}

bool TScePlay::MeasureOne(THresults& res) {
  const bool decoded = cmd_->Measure(qv_->FrameTimeoutMs(kToutForCycle));
  res = qv_->Res;
  return decoded && res.je_qv && res.qv_ok;
}

bool TScePlay::PlayMeasured(TScePage& page, TSceStp& stp, QChar sep) {
  if (playing_) return false;
  if (page.LastRow() == 0 || !cmd_ || !tu_) {
    if (page.LastRow() == 0) asker_.ShowError(QString::fromLatin1(kSceEmptyText));
    ports_.Released();
    return false;
  }
  // The unit belongs to the play from here on (a Run/Pause in between is held back); the
  // preparation may let events in, and a release meanwhile ends it before anything moves.
  playing_ = true;
  measured_ = true;
  released_ = false;
  page_ = nullptr;
  auto release = [this] {
    playing_ = false;
    measured_ = false;
    ports_.Released();
    return false;
  };
  if (!qv_->BiTr.GetActive() && !AskYesNo(QString::fromLatin1(kSceNoTransformText), asker_)) {
    return release();
  }
  const int mpp = int(ClampLowWins(int32_t(stp.FMeasPerPosit), 1, kMeasPerPositMax));
  if (const int e = PrepareUnit()) {
    asker_.ShowError(PrepareErrorText(e));
    return release();
  }
  ports_.AllHome();
  if (released_) return release();
  if (!PrepareOutputFiles(stp, mpp)) return release();
  WriteOutputHeaders(page, stp);

  ports_.CyclicOff();
  ports_.EnableEditing(false);
  qv_->LastSwp.SetNwanted(page.LastRow() * mpp);
  qv_->LastSwp.Init(qv_->PlaneExt.Extension);
  page.SelectedRow = 1;
  page.IteratedRow = 1;
  int32_t counter = 0;
  const QDateTime start = ports_.Now();
  std::vector<THresults> rowResults;
  rowResults.reserve(size_t(mpp));
  while (page.IteratedRow <= page.LastRow() && !released_ && !aborted_) {
    if (!PlayRow(page, mpp, sep, counter, rowResults)) break;
    ++page.IteratedRow;
    ports_.ProcessEvents();
  }

  // Ending: the files are completed also after an abort.
  const bool rowsRemain = page.IteratedRow <= page.LastRow();
  WriteTail(start, rowsRemain);
  measured_ = false;
  Finish(false);
  asker_.Beep(kAlarmHz, kAlarmMs);
  asker_.ShowWait(
      QStringLiteral("Wait..."),
      rowsRemain ? QStringLiteral("Scenario aborted") : QStringLiteral("Scenario completed"), 0, 0);
  asker_.Sleep(kNoticeMs);
  asker_.HideWait();
  ports_.SetStatus(QString());
  return true;
}

bool TScePlay::PrepareOutputFiles(TSceStp& stp, int mpp) {
  const FileNameParts parts = SplitFileName(stp.FSceMeasFile);
  const QString folder = parts.folder.isEmpty() ? UserFolder() : parts.folder;
  const QString chosen = asker_.SaveFileName(
      QStringLiteral("Prepare Output Files"), folder + parts.name + parts.ext,
      QStringLiteral("Text file (*.txt)|*.txt|Any file (*.*)|*.*"), QStringLiteral("txt"));
  if (chosen.isEmpty()) {
    asker_.ShowInfo(QStringLiteral("Procedure aborted."));
    return false;
  }
  const QString oldFile = stp.FSceMeasFile;
  stp.FSceMeasFile = chosen;
  out1_ = TOut{chosen, true, false};
  out2_ = TOut{ChangeExt(chosen, QStringLiteral("rkd")), mpp > 1, false};
  TSceOutSink& sink = sink_ ? *sink_ : fileSink_;
  if (!sink.Create(out1_.path).ok || (out2_.used && !sink.Create(out2_.path).ok)) {
    stp.FSceMeasFile = oldFile;
    asker_.ShowError(Format(
        QStringLiteral("Error %d: Output files could not be created.\r\nProcedure aborted."), {4}));
    return false;
  }
  return true;
}

void TScePlay::WriteOutputHeaders(TScePage& page, TSceStp& stp) {
  const TInputResult c = InputText(QStringLiteral("Enter Comment"), QStringLiteral("Comment :"),
                                   stp.FSceMeasInfo, asker_);
  if (c.ok) stp.FSceMeasInfo = c.text;
  wanted_ = page.HasExtraTexts();
  const QString fileName = QFileInfo(out1_.path).fileName();
  const QString commentLine =
      Format(QStringLiteral("%s (%s)"), {stp.FSceMeasInfo, fileName}) + kCrLf;
  aborted_ = false;
  writeErrorShown_ = false;
  page_ = &page;
  Put(out1_, commentLine + Out1Header() + kCrLf);
  Put(out2_, commentLine + Out2Header(wanted_) + kCrLf);
}

bool TScePlay::PlayRow(TScePage& page, int mpp, QChar sep, int32_t& counter,
                       std::vector<THresults>& rowResults) {
  const int32_t row = page.IteratedRow;
  ports_.SetStatus(Format(QStringLiteral("Progress: %d of %d"), {row, page.LastRow()}));
  GoToRow(page, row);
  ports_.RowChanged();
  if (!Wait(DwellMs(page.Row(row).T))) return false;
  const QDateTime t = ports_.Now();
  rowResults.clear();
  for (int k = 0; k < mpp && !aborted_; ++k) {
    ++counter;
    THresults res;
    int64_t receivedMs = 0;
    for (;;) {
      if (MeasureOne(res)) {
        receivedMs = RunUtcMs();
        break;
      }
      asker_.Beep(kAlarmHz, kAlarmMs);
      if (asker_.MessageBox(QString::fromLatin1(kSceMeasErrorText), TMsgType::Error,
                            mbAbort | mbRetry) != mbRetry) {
        aborted_ = true;
        break;
      }
    }
    if (aborted_) break;
    ports_.ShowResult(res);
    rowResults.push_back(res);
    Put(out1_, MeasToString(counter, res, sep) + TunToString(true, qv_->Mot(), *tu_, sep) +
                   Format(QStringLiteral("\t%1.5e"), {res.Pabs / 1000.0}, sep) + WinTime(t, sep) +
                   kCrLf);
    qv_->LastSwp.Add(qv_->Mob, qv_->StampAccepted(receivedMs));
  }
  if (aborted_) return false;
  if (mpp > 1) {
    const TSceStats st = ComputeStats(rowResults);
    QString line = MeasToString(row, st.Statis, sep) + TunToString(true, qv_->Mot(), *tu_, sep) +
                   StatsColumns(st, sep);
    // Each line carries its own row's wanted values; a row without them keeps the columns
    // empty, so every line has as many fields as the header.
    if (wanted_) {
      const QString extra = page.Row(row).Extra;
      line += extra.isEmpty() ? QStringLiteral("\t\t\t\t\t") : QLatin1Char('\t') + extra;
    }
    Put(out2_, line + WinTime(t, sep) + kCrLf);
  }
  return true;
}

void TScePlay::WriteTail(const QDateTime& start, bool rowsRemain) {
  ports_.RedrawAll();
  qv_->LastSwp.SetNwanted(ports_.NormalSweepCapacity());
  QString tail =
      Format(QStringLiteral("\r\nStart: %s  Stop: %s"), {DateText(start), DateText(ports_.Now())}) +
      kCrLf;
  if (rowsRemain) tail += QStringLiteral("Scenario interrupted") + kCrLf;
  tail += GetSaveTxtInfo(*qv_, prog_) + kCrLf + WriteStamp(*qv_, *tu_);
  const bool wasAborted = aborted_;
  Put(out1_, tail);
  Put(out2_, tail);
  aborted_ = wasAborted || aborted_;
}

}  // namespace qz
