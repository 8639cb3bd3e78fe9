#pragma once
// The simulation model as the command layer's frame source: every frame the program reads is
// built by the model of the unit and the tuner.

#include "comm/framesource.h"
#include "sim/mdlengine.h"

namespace qz {

class TModelFrameSource : public TFrameSource {
 public:
  explicit TModelFrameSource(TMdlEngine& model) : model_(model) {}
  void GetMobBytes(int avg, TMerObjekt& mob) override { model_.GetMobBytes(avg, mob); }

 private:
  TMdlEngine& model_;
};

}  // namespace qz
