#pragma once
// The frame window's operations over every open display window: conversion of results into
// trace points, refills from a stored sweep, and the live drawing steps the measurement cycle
// drives. Windows take part through TDisplayView; the operations draw through each window's
// chart and ask the window to show the new pixels.

#include <cstdint>
#include <vector>

#include "core/onesweep.h"
#include "core/qvwin.h"
#include "display/displ.h"

namespace qz {

class TDisplayView {
 public:
  virtual ~TDisplayView() = default;
  virtual TDispl& Displ() = 0;
  // The load values are shown instead of the input values (reflection types only).
  virtual bool ShowLoad() const = 0;
  virtual bool ClearAndGo() const = 0;
  // The chart's pixels changed: show them at the next paint.
  virtual void ChartChanged() = 0;
  // The window's settings changed beyond its pixels (axis ranges): repaint it all.
  virtual void RepaintAll() = 0;
  // The chart to its empty grid.
  virtual void ClearChart() {
    Displ().Grf->ClrRaster();
    ChartChanged();
  }
};

class TDisplayOps {
 public:
  // The analyzer state gives the current result, the last sweep and the decoding of stored
  // frames.
  explicit TDisplayOps(const TQvWin& qv) : qv_(qv) {}

  void Add(TDisplayView* view);
  void Remove(TDisplayView* view);
  const std::vector<TDisplayView*>& Views() const { return views_; }

  // Empties the window's traces and refills them from every record of the sweep that decodes
  // and carries analyzer data. The records are decoded into a local result: the current result
  // and the tuner motor state stay as they are.
  void FillTracesAll(TDisplayView& view, const TOneSweep& swp) const;
  // Appends point i from the current result.
  void FillTracesOne(TDisplayView& view, int32_t i) const;
  void ResetTraces(bool clearLast);
  // Point axes follow the current sweep's length; the windows changed are repainted.
  void RefreshXaxis();
  void DrawPointAll(int32_t i);
  void DrawSweepAll(const TOneSweep& swp);
  void FillSweepAll(const TOneSweep& swp);
  void EraseMovingDots();
  // Clears the clear-and-go windows (all: every window) to their empty grid.
  void ClearDisplays(bool all);
  void KeepPreviousDrawing();
  void ForgetPreviousDrawing();
  // Forgets the previous drawing, clears every chart and draws each sweep in order.
  void RedrawStoredSweeps(const std::vector<const TOneSweep*>& sweeps);

 private:
  const TQvWin& qv_;
  std::vector<TDisplayView*> views_;
};

}  // namespace qz
