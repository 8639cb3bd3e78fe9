// Arbitrary bytes as a setup file, read by every section reader of the program: the analyzer
// state, the model (with the tuner description), the logging settings, the frame window and the
// results windows' places. Nothing crashes, what is read stays within its ranges, and what a
// reader's owner writes reads back to the same section (write, read, write gives the same text).
#include <QStringList>

#include "app/setupfiles.h"
#include "core/qvwin.h"
#include "core/records.h"
#include "core/unitsync.h"
#include "fuzzcheck.h"
#include "results/logsettings.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/modeltuner.h"
#include "util/inifile.h"
#include "util/winpos.h"

using qz::fuzz::Check;

namespace {

constexpr int kScreenW = 1280;
constexpr int kScreenH = 1024;

// A unit that takes every setting.
class NullSync : public qz::TUnitSync {
 public:
  void StopUnit() override {}
  void SendWaveform() override {}
  void SendFreqTolerance(uint16_t) override {}
  void SendCounter(int32_t, uint8_t) override {}
  void SendSubstFreq(int32_t) override {}
  void SendFsamplCw(int32_t) override {}
  void SendAveraging(uint16_t, uint16_t) override {}
  void SendMeaStp(const qz::TMeaStp&) override {}
  void RefreshMeaStpWindow() override {}
  void SendMotRefresh(uint16_t) override {}
  void SendAutotuneParams() override {}
  void SendAutotuneOnOff(bool) override {}
  void SendTunePosState(bool) override {}
  void SendHysteresis(uint8_t) override {}
};

QString Show(const QByteArray& a, const QByteArray& b) {
  return QString::fromUtf8(a) + QStringLiteral("\n---\n") + QString::fromUtf8(b);
}

void AnalyzerSection(const qz::IniFile& ini) {
  qz::TMotState mot;
  qz::TQvWin qv(mot);
  NullSync sync;
  (void)qv.ReadStp(1, ini, &sync);
  qz::IniFile once;
  qv.WriteStp(1, once, QStringLiteral("fuzz"));
  qz::TMotState mot2;
  qz::TQvWin qv2(mot2);
  (void)qv2.ReadStp(1, once, nullptr);
  qz::IniFile twice;
  qv2.WriteStp(1, twice, QStringLiteral("fuzz"));
  Check(once.Text() == twice.Text(), "analyzer section does not read back",
        Show(once.Text(), twice.Text()));
}

void ModelSection(const qz::IniFile& ini) {
  qz::TMotState mot;
  qz::TQvWin qv(mot);
  qz::TSimState sim;
  qz::TTransparentTuner tuner;
  qz::TMdlEngine m(qv, sim, tuner);
  m.Sleep = [](int64_t) {};
  qz::TMdlPresenter p(m);
  p.ReadStp(ini, kScreenW, kScreenH);
  qz::IniFile once;
  p.WriteStp(once);

  qz::TMotState mot2;
  qz::TQvWin qv2(mot2);
  qz::TSimState sim2;
  qz::TTransparentTuner tuner2;
  qz::TMdlEngine m2(qv2, sim2, tuner2);
  m2.Sleep = [](int64_t) {};
  qz::TMdlPresenter p2(m2);
  p2.ReadStp(once, kScreenW, kScreenH);
  qz::IniFile twice;
  p2.WriteStp(twice);
  Check(once.Text() == twice.Text(), "model section does not read back",
        Show(once.Text(), twice.Text()));
}

void LogSection(const qz::IniFile& ini) {
  qz::TLogEntries e;
  qz::ReadLogStp(ini, e, false);
  Check(qz::LimitLogEntries(e) == e, "logging settings read outside their ranges");
  qz::IniFile once;
  qz::WriteLogStp(once, e);
  qz::TLogEntries e2;
  qz::ReadLogStp(once, e2, false);
  Check(e2 == e, "logging settings do not read back", QString::fromUtf8(once.Text()));
}

void FrameSection(const qz::IniFile& ini) {
  qz::TFrameSetup f;
  qz::ReadFrameSetup(ini, f, kScreenW, kScreenH);
  const qz::TStatusAll states{};
  qz::IniFile once;
  qz::WriteFrameSetup(once, f, states, states);
  qz::TFrameSetup f2;
  qz::ReadFrameSetup(once, f2, kScreenW, kScreenH);
  qz::IniFile twice;
  qz::WriteFrameSetup(twice, f2, states, states);
  Check(once.Text() == twice.Text(), "frame window section does not read back",
        Show(once.Text(), twice.Text()));
}

void WindowPlaces(const qz::IniFile& ini) {
  constexpr int kMargin = 50;
  for (const char* sec : {"QzResForm", "QzSmallFrm", "LogForm"}) {
    const qz::WindowPos p =
        qz::ReadWindowPos(ini, QString::fromLatin1(sec), qz::WindowPos{10, 20, 300, 200}, kScreenW,
                          kScreenH, kMargin);
    Check(p.left >= 0 && p.left <= kScreenW - kMargin, "window left outside the screen");
    Check(p.top >= 0 && p.top <= kScreenH - kMargin, "window top outside the screen");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::IniFile ini;
  ini.SetText(qz::fuzz::Bytes(data, size));
  AnalyzerSection(ini);
  ModelSection(ini);
  LogSection(ini);
  FrameSection(ini);
  WindowPlaces(ini);
  return 0;
}
