#include "core/resultstext.h"

#include "core/qvwin.h"
#include "util/datetext.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/versioninfo.h"

namespace qz {

namespace {

const QString kProgramName = QStringLiteral("QzmSoft");

// The measurement columns of a result that carries a measurement block.
QString MeasColumns(const THresults& res, QChar sep) {
  return Format(QStringLiteral("%1.3f\t%1.4f\t%1.3f\t%1.5e\t%1.5e\t%1.1f\t%d"),
                {res.FreD / 1e6, res.Mag_m, res.Pha_m, res.Pinc / 1000.0, res.Prfl / 1000.0,
                 res.Temp, int(res.ErrByte)},
                sep) +
         Format(QStringLiteral("\t%1.4f\t%1.3f"), {res.Mag_z, res.Pha_z}, sep);
}

QString OnOff(bool on) { return on ? QStringLiteral("ON") : QStringLiteral("OFF"); }
QString TrueFalse(bool b) { return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

// One stamp line "key=value" with CR LF.
void Line(QString& out, const char* key, const QString& value) {
  out += QLatin1String(key);
  out += QLatin1Char('=');
  out += value;
  out += QStringLiteral("\r\n");
}
void Line(QString& out, const char* key, int64_t value) {
  Line(out, key, Format(QStringLiteral("%d"), {value}));
}

}  // namespace

// ---- columns of one result ------------------------------------------------------------------

QString MeasToString(const THresults& res, QChar decSep) {
  if (!res.je_qv) return QString();
  return MeasColumns(res, decSep);
}

QString MeasToString(int32_t index, const THresults& res, QChar decSep) {
  if (!res.je_qv) return QString();
  return Format(QStringLiteral("%d\t%s"), {index, MeasColumns(res, decSep)}, decSep);
}

QString MeasToString(int32_t index, const THresults& res, double seconds, QChar decSep) {
  if (!res.je_qv) return QString();
  return Format(QStringLiteral("%d\t%1.3f\t%s"), {index, seconds, MeasColumns(res, decSep)},
                decSep);
}

QString TunToString(bool millimetres, const TMotState& mot, const TTunerDescr& tu, QChar decSep) {
  const TMotPos& p = mot.ActPos;
  QString s;
  if (millimetres) {
    s = Format(QStringLiteral("\t%1.3f\t%1.3f\t%1.3f"),
               {p[1] * tu.MmPerStep, p[2] * tu.MmPerStep, p[3] * tu.MmPerStep}, decSep);
  } else {
    s = Format(QStringLiteral("\t%d\t%d\t%d"), {int(p[1]), int(p[2]), int(p[3])}, decSep);
  }
  return s + Format(QStringLiteral("\t%d\t%d"), {int(mot.MotStatus), int(mot.MotError)}, decSep);
}

QString WinTime(const QDateTime& now, QChar decSep) {
  return Format(QStringLiteral("\t%1.5f"), {DateTimeToDays(now)}, decSep);
}

// ---- headers --------------------------------------------------------------------------------

QString MeasHeader() {
  return QStringLiteral("f_MHz\tMag\tPha_dg\tPi_kW\tPr_kW\tTemp_C\tErr") +
         QStringLiteral("\tMagL\tPhaL_dg");
}

QString TunHeader(bool millimetres) {
  return millimetres ? QStringLiteral("\tSt1_mm\tSt2_mm\tSt3_mm\tMS1\tMS2")
                     : QStringLiteral("\tSteps1\tSteps2\tSteps3\tMS1\tMS2");
}

QString SaveTxtHeader(bool millimetres) {
  return QStringLiteral("No\t") + MeasHeader() + TunHeader(millimetres) +
         QStringLiteral("\tWinTime");
}

QString LogHeader(bool millimetres) {
  return QStringLiteral("No\tTime_s\t") + MeasHeader() + TunHeader(millimetres) +
         QStringLiteral("\tWinTime");
}

// ---- whole lines ----------------------------------------------------------------------------

QString ResultsLine(TQvWin& qv, int32_t i, const TTunerDescr& tu, QChar decSep,
                    const QDateTime& now) {
  if (i < 0 || i >= qv.LastSwp.Nwanted()) return QString();
  // A copy: decoding must not read from a slot that a caller could change meanwhile.
  const TMerObjekt frame = qv.LastSwp.Frame(i);
  if (!qv.DekodMerData(frame, qv.Res)) return QString();
  return MeasToString(i + 1, qv.Res, decSep) + TunToString(true, qv.Mot(), tu, decSep) +
         WinTime(now, decSep);
}

QString GetLogString(const THresults& res, int32_t recordNumber, double seconds,
                     const TMotState& mot, const TTunerDescr& tu, QChar decSep,
                     const QDateTime& now) {
  const QString body =
      MeasToString(recordNumber + 1, res, seconds, decSep) + TunToString(true, mot, tu, decSep);
  return body.trimmed() + WinTime(now, decSep);
}

void AppendLogString(QByteArray& out, const THresults& res, int32_t recordNumber, double seconds,
                     const TMotState& mot, const TTunerDescr& tu, const TDecSepBytes& sep,
                     double days) {
  // 17 fields at most, each with its tab.
  char buf[17 * (kMaxFieldBytes + 1)];
  char* p = buf;
  auto tab = [&p] { *p++ = '\t'; };
  if (res.je_qv) {
    p = PutInt(p, int64_t(recordNumber) + 1);
    tab();
    p = PutFixed(p, seconds, 3, sep);
    tab();
    p = PutFixed(p, res.FreD / 1e6, 3, sep);
    tab();
    p = PutFixed(p, res.Mag_m, 4, sep);
    tab();
    p = PutFixed(p, res.Pha_m, 3, sep);
    tab();
    p = PutExp(p, res.Pinc / 1000.0, 5, 3, sep);
    tab();
    p = PutExp(p, res.Prfl / 1000.0, 5, 3, sep);
    tab();
    p = PutFixed(p, res.Temp, 1, sep);
    tab();
    p = PutInt(p, int(res.ErrByte));
    tab();
    p = PutFixed(p, res.Mag_z, 4, sep);
    tab();
    p = PutFixed(p, res.Pha_z, 3, sep);
  }
  const TMotPos& pos = mot.ActPos;
  for (int i = 1; i <= 3; ++i) {
    tab();
    p = PutFixed(p, pos[i] * tu.MmPerStep, 3, sep);
  }
  tab();
  p = PutInt(p, int(mot.MotStatus));
  tab();
  p = PutInt(p, int(mot.MotError));
  // Blanks around the record are dropped (a result without measurement starts with a tab).
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  const char* first = buf;
  while (first < p && blank(*first)) ++first;
  while (p > first && blank(p[-1])) --p;
  tab();
  p = PutFixed(p, days, 5, sep);
  out.append(first, p - first);
}

// ---- program and unit description -----------------------------------------------------------

TProgramInfo ProgramInfoOf(const VersionInfoRec& v) {
  TProgramInfo p;
  p.version = v.fileVersion;
  p.fileInfo = v.infoLine;
  p.description = v.fileDescription;
  p.legalNotice = v.legalNotice;
  return p;
}

TProgramInfo CurrentProgramInfo() { return ProgramInfoOf(VersionInfo()); }

TAboutStrings GetAboutStrings(const TQvWin& qv, const TProgramInfo& prog) {
  TAboutStrings a;
  a.title = QStringLiteral("About ") + kProgramName;
  a.program = kProgramName + QStringLiteral(" Version ") + prog.version;
  a.programFile = prog.fileInfo;
  const TFixPar& f = qv.FixPar;
  a.unit = Format(
      QStringLiteral("HW : %s %d.%d/%d\r\nSW : V%d %s"),
      {f.IntMdl, int(f.ModelNo), int(f.ModifNo), int(f.SerNum), int(qv.SrvVerNum), qv.SrvInfo});
  a.description = prog.description;
  a.legalNotice = prog.legalNotice;
  a.bestSrvVer = kBestKnownSrvVer;
  return a;
}

QString GetSaveTxtInfo(const TQvWin& qv, const TProgramInfo& prog) {
  const TAboutStrings a = GetAboutStrings(qv, prog);
  return QStringLiteral("\r\n") + a.program + QStringLiteral(" (") + a.programFile +
         QStringLiteral(")\r\n") + a.unit + QStringLiteral("\r\nPlane Ext=") + qv.PlaneExt.MsgStr;
}

// ---- setup stamp ----------------------------------------------------------------------------

QString WriteStamp(const TQvWin& qv, const TTunerDescr& tu) {
  const TVarPar& v = qv.VarPar;
  const TRectif& r = qv.Rectif;
  const TPulsed& p = qv.Pulsed;
  const TMeaStp& m = qv.MstpCW;
  const TMotState& mot = qv.Mot();
  const QString empty = QStringLiteral("\r\n");
  QString s;
  s += QStringLiteral("[Analyzer setup]\r\n");
  Line(s, "WAVEFORM", int(v.Waveform));
  Line(s, "AUTORUN", int(v.AutoRun));
  s += empty;
  Line(s, "RECT_LINFRE", r.RippleFreq);
  Line(s, "RECT_PERIODS", r.Periods);
  Line(s, "RECT_NSAMPL", r.Nvzoriek);
  Line(s, "RECT_TCNT_US", r.TcntUs);
  Line(s, "RECT_ACC_LVL", RectAccLvlOf(v.TrgMeth_AccLvl));
  s += empty;
  Line(s, "PULS_TSAMPL_US", p.TsamplUs);
  Line(s, "PULS_NSAMPL", p.Nvzoriek);
  Line(s, "PULS_TCNT_US", p.TcntUs);
  Line(s, "PULS_TMAX_MS", p.TmaxMs);
  Line(s, "PULS_ACC_LVL", PulsAccLvlOf(v.TrgMeth_AccLvl));
  s += empty;
  Line(s, "TCOUNTCW_US", v.TcountCw);
  Line(s, "VRPT", v.Vrpt);
  Line(s, "TRPT", v.Trpt);
  Line(s, "FSAMPL_CW", v.FsamplCw);
  Line(s, "ISCNTON", v.IsCntOn);
  Line(s, "FSUBST_KHZ", v.FsubstKHz);
  Line(s, "FDELTA_MHZ", v.FdeltaMHz);
  Line(s, "TRGMETHOD", qv.TrgMethod);
  Line(s, "TRGLEVEL", v.MinMaxTrgLvl);
  s += empty;
  Line(s, "OnPeriod_ms", m.OnPeriod_ms);
  Line(s, "OfsPeriod_s", m.OfsPeriod_s);
  Line(s, "FPeriod_ms", m.FPeriod_ms);
  Line(s, "TPeriod_s", m.TPeriod_s);
  Line(s, "TxPeriod_ms", m.TxPeriod_ms);
  Line(s, "TxMask", m.TxMask);
  Line(s, "OnRnge", m.OnRnge);
  Line(s, "OfsRnge", m.OfsRnge);
  Line(s, "OfsEqualOn", TrueFalse(m.OfsEqualOn));
  s += empty;
  s += QStringLiteral("[Tuner setup]\r\n");
  // The compact length text of the full stub travel, always with a point, in millimetres.
  Line(s, "MaxInsertion", NumberText3(double(tu.MaxSteps) * tu.MmPerStep) + QStringLiteral(" mm"));
  Line(s, "Autotune", OnOff(mot.AtOn));
  Line(s, "Toler_mU", mot.Toler_mU);
  Line(s, "Targ_mU", mot.Targ_mU);
  Line(s, "Skip", mot.Skip);
  Line(s, "Delay5b", mot.Delay5b);
  Line(s, "Smooth", mot.Smooth);
  Line(s, "WaitRF", OnOff(mot.WaitRF));
  Line(s, "HystDg", mot.HystDg);
  Line(s, "SendTunePos", mot.SendTunePos ? QStringLiteral("YES") : QStringLiteral("NO"));
  Line(s, "Mot_Refresh", qv.MotRefreshMs);
  return s;
}

// ---- date and time of saving ----------------------------------------------------------------

QString SavedDateTimeText(const QDateTime& t, const QLocale& locale) {
  // The long time form of the locale without its time-zone name ("t" .. "tttt" outside quoted
  // literals), so that the text does not depend on the zone the computer is set to.
  const QString longFmt = locale.timeFormat(QLocale::LongFormat);
  QString fmt;
  bool quoted = false;
  for (QChar c : longFmt) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) continue;
    fmt += c;
  }
  fmt = fmt.simplified();
  return locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(t.time(), fmt);
}

}  // namespace qz
