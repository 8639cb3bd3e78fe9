#pragma once
// The current sweep: the raw frames the display windows draw as one set of traces. In continuous
// measurement it is a ring of the last N frames (the new frame overwrites the oldest); in sampled
// measurement it holds one sample series, rotated so that the pre-trigger samples come first.
// Frames are stored raw and decoded again at every use.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/records.h"

namespace qz {

// Settings in force when the sweep was measured.
struct TSystSet {
  double PlaExt = 0.0;  // plane extension, mm
};

using TSwpBuf = std::vector<TMerObjekt>;

// When and as which frame a stored frame came: `frame` is the program-wide number of accepted
// frames (from 1, never reset: runs, Blank All and waveform changes leave it counting), `utcMs`
// the receive time from the run clock (util/clock.h: UTC ms since 1970, never going back within
// a program run), `run` the number of the measurement run that took it (runs are counted from 1
// since the start; 0 for a frame taken outside a run, as a scenario play's). A slot filled
// without a stamp holds {0, 0, 0}.
struct TSwpStamp {
  int64_t frame = 0;
  int64_t utcMs = 0;
  uint32_t run = 0;
  friend bool operator==(const TSwpStamp&, const TSwpStamp&) = default;
};
using TSwpStamps = std::vector<TSwpStamp>;

class TOneSweep {
 public:
  QString Info;  // comment of the sweep
  TSystSet SystSet;
  double Kedy = 0.0;  // time stamp as a day number (days since 30 Dec 1899, local time)

  // Empties the sweep for a new run; capacity, stored bytes and Info stay.
  void Init(double planeExtMm);
  // Sets the capacity (negative counts as 0). Kept slots keep their frames; the fill count and
  // the last-written index are pulled back inside a smaller sweep.
  void SetNwanted(int32_t v);
  // Stores a frame and its stamp after the last one written, wrapping to slot 0 at the end.
  // Ignored when the capacity is 0.
  void Add(const TMerObjekt& frame, const TSwpStamp& stamp = {});
  // Empties the sweep; the next frame goes to slot 0.
  void Clear();
  // Stamps the sweep with the present time (or the given one).
  void DajCas();
  void DajCas(const QDateTime& t);
  // Rotates a completed sample series (frames with their stamps) so that its last preTrigger
  // frames come first.
  // preTrigger is limited in place to 0..Count() - 1; an empty sweep is left alone, and so is
  // the caller's value.
  void Rotuj(int32_t& preTrigger);

  int32_t Count() const { return fCount; }      // filled slots
  int32_t Nwanted() const { return fNwanted; }  // capacity
  int32_t Last() const { return n; }            // slot written last, -1 when empty
  // Slot i (0 <= i < Nwanted()).
  const TMerObjekt& Frame(int32_t i) const { return Swp.at(static_cast<std::size_t>(i)); }
  const TSwpBuf& Frames() const { return Swp; }
  // The stamp beside slot i (0 <= i < Nwanted()).
  const TSwpStamp& Stamp(int32_t i) const { return Stamps.at(static_cast<std::size_t>(i)); }
  // Stored slot k in time order (0 the oldest of the Count() filled ones): from the slot after
  // the one written last once the ring has wrapped, storage order before that and for a
  // rotated sample series (whose order is the rotation's).
  int32_t OldestFirst(int32_t k) const;

 private:
  TSwpBuf Swp;
  TSwpStamps Stamps;  // beside Swp, slot for slot
  int32_t n = -1;
  int32_t fCount = 0;
  int32_t fNwanted = 0;
  bool rotated_ = false;  // Rotuj has ordered the slots; the next Add, Init or Clear ends it
};

// The capacity the current sweep needs: the block's sample count when individual samples are
// sent for the waveform (rectified or pulsed with Bsamples), else the points per sweep (also for
// a rectified or pulsed waveform without individual samples, which sends one point per frame).
int32_t SweepCapacity(int32_t ptsPerSwp, int waveform, const TRectif& rectif,
                      const TPulsed& pulsed);

}  // namespace qz
