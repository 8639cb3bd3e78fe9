#pragma once
// A scenario play without a window: fake ports that record the stub moves and count the wait
// slices, output files kept in memory (with a failure after a chosen number of writes), frames
// of a measured load (spoilt on chosen calls) read through the command layer, the analyzer state
// and a scripted asker.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <array>
#include <functional>
#include <set>
#include <vector>

#include "comm/framesource.h"
#include "comm/qzcmd.h"
#include "common/testframes.h"
#include "core/qvwin.h"
#include "tuner/sceplay.h"
#include "tuner/scestp.h"
#include "util/asker.h"

namespace qz::testing {

class FakeScePorts : public TScePlayPorts {
 public:
  int MaxSteps() const override { return 5000; }
  double StepMm() const override { return 0.01; }
  void MoveStubs(const std::array<int, 3>& steps) override {
    moves.push_back(steps);
    if (onMove) onMove(int(moves.size()));
  }
  void Sleep(int ms) override {
    ++slices;
    sleptMs += ms;
    if (onSleep) onSleep(slices);
  }
  void ProcessEvents() override { ++pumps; }
  QDateTime Now() const override { return QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)); }
  void SetStatus(const QString& text) override { status.push_back(text); }
  void EnableEditing(bool on) override { editing.push_back(on); }
  void Released() override { ++released; }
  void CyclicOff() override { ++cyclicOff; }
  bool IsSweeping() const override { return sweeping; }
  void RunPause() override {
    ++runPauses;
    sweeping = false;
  }
  bool StopUnit() override { return stopOk; }
  int32_t AutotuneOff() override { return atCode; }
  void ShowCmdResult(const QString& name, int32_t code) override {
    cmdResults.push_back(name + QLatin1Char(' ') + QString::number(code));
  }
  void AllHome() override {
    ++homes;
    if (onHome) onHome();
  }
  void ShowResult(const THresults&) override { ++shown; }
  void RedrawAll() override { ++redraws; }
  int32_t NormalSweepCapacity() const override { return 101; }

  std::vector<std::array<int, 3>> moves;
  std::function<void(int moveCount)> onMove;
  std::function<void(int sliceCount)> onSleep;
  std::function<void()> onHome;
  int slices = 0;
  int64_t sleptMs = 0;
  int pumps = 0;
  std::vector<QString> status;
  std::vector<bool> editing;
  int released = 0, cyclicOff = 0, runPauses = 0, homes = 0, shown = 0, redraws = 0;
  bool sweeping = false;
  bool stopOk = true;
  int32_t atCode = 0;
  std::vector<QString> cmdResults;
};

// Output files in memory.
class MemSceSink : public TSceOutSink {
 public:
  TSceOutResult Create(const QString& path) override {
    if (failCreate.count(path)) return {false, QStringLiteral("Permission denied")};
    files[path] = QByteArray();
    return {};
  }
  TSceOutResult Append(const QString& path, const QByteArray& bytes) override {
    if (appendsLeft == 0) return {false, QStringLiteral("No space left on device")};
    if (appendsLeft > 0) --appendsLeft;
    files[path] += bytes;
    return {};
  }
  QMap<QString, QByteArray> files;
  std::set<QString> failCreate;
  int appendsLeft = -1;  // -1: never fails
};

// Frames of a load with 1 kW incident power rising by 1 W a call; the calls listed in `spoilt`
// (from 1) give a frame with a wrong checksum.
class SceFrames : public TFrameSource {
 public:
  void GetMobBytes(int avg, TMerObjekt& mob) override {
    ++calls;
    lastAvg = avg;
    TFrameSpec s = testing::MeasSpec(1000.0 + calls, complex(0.1, 0.2), complex(0.3, -0.1));
    mob = testing::EncodedFrame(s);
    if (spoilt.count(calls)) mob = testing::RawFrame({1, 2, 3}, 1);
  }
  int calls = 0;
  int lastAvg = 0;
  std::set<int> spoilt;
};

struct SceRig {
  TMotState mot;
  TQvWin qv{mot};
  TTunerDescr tu;
  FakeScePorts ports;
  MemSceSink sink;
  SceFrames frames;
  TSimState sim;
  TQzCmd cmd{qv, sim, &frames};
  TScriptedAsker asker;
  TScePlay play{ports, asker};
  TSceStp stp;

  SceRig() {
    asker.quiet = true;
    play.SetMeasurement(&cmd, &tu);
    play.SetSink(&sink);
  }
  // The question about the inactive transform is answered Yes and the output file chosen.
  void AnswerStart(const QString& file = QStringLiteral("/data/run.txt")) {
    asker.QueueButton(mbYes);
    asker.QueueFile(file);
  }
  // The message boxes shown, questions left out.
  QStringList Messages() const {
    QStringList m;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message)) {
      if (r.type != TMsgType::Confirmation) m << r.text;
    }
    return m;
  }
};

// A page of n rows with dwell `dwell`, positions 1, 2, 3 mm times the row number.
inline TScePage SceRows(int n, int dwell = 0) {
  TScePage p;
  p.Name = QStringLiteral("Page1");
  for (int i = 1; i <= n; ++i) p.InsertRow(MakeSceRow(dwell, i, 2.0 * i, 3.0 * i));
  return p;
}

}  // namespace qz::testing