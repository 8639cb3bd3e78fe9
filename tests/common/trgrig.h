#pragma once
// The single-shot commands window's rig: the tuner picture's rig (one simulated tuner, the
// analyzer state over its motor state, a command layer of mocks doing what the real layer does)
// with a frame source that hands out a chosen frame to the command layer's measurement, and
// display callbacks that count their calls.

#include <gmock/gmock.h>

#include "comm/framesource.h"
#include "common/testframes.h"
#include "common/tpicrig.h"
#include "setupdlg/trgcmds.h"

namespace qz::testing {

// Hands out `next` at every request and remembers the averaging count asked for.
struct FixedFrameSource : TFrameSource {
  TMerObjekt next = testing::EncodedFrame(testing::MeasSpec());
  int calls = 0;
  int lastAvg = 0;
  void GetMobBytes(int avg, TMerObjekt& mob) override {
    ++calls;
    lastAvg = avg;
    mob = next;
  }
};

// What the refresh reached.
struct DisplayCalls {
  int napln = 0;
  int showAll = 0;
  int readShow = 0;
  int atButton = 0;
  bool atShown = false;
  bool readShowResult = true;
};

struct TrgRig : TpicRig {
  FixedFrameSource source;
  DisplayCalls calls;
  TTrgCmds trg{cmd, m};

  TrgRig() { Wire(); }
  TrgRig(int maxSteps, double stepMm) : TpicRig(maxSteps, stepMm) { Wire(); }

  // The frame of the next measurement: a result with the given stub positions, status and error
  // bytes (or a spoilt checksum, so the decoding refuses it).
  void NextFrame(const TMotPos& pos, uint8_t status = 0, uint8_t error = 0) {
    TFrameSpec s = testing::MeasSpec();
    s.Pos = pos;
    s.MotStatus = status;
    s.MotError = error;
    source.next = testing::EncodedFrame(s);
  }
  void NextFrameSpoilt() { source.next = testing::RawFrame({0x55, 1, 2, 3}, 1); }

 private:
  void Wire() {
    cmd.SetFrameSource(&source);
    trg.Displays.Napln = [this](const THresults&) { ++calls.napln; };
    trg.Displays.ShowMotPositAll = [this] { ++calls.showAll; };
    trg.Displays.ReadShow = [this] {
      ++calls.readShow;
      return calls.readShowResult;
    };
    trg.Displays.SetAtButton = [this](bool on) {
      ++calls.atButton;
      calls.atShown = on;
    };
  }
};

}  // namespace qz::testing