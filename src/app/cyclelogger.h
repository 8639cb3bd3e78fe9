#pragma once
// Data logging as the measurement cycle sees it: the log engine behind the cycle's logger port.

#include "app/cycleports.h"
#include "results/logengine.h"

namespace qz {

class TEngineLogger : public TCycleLogger {
 public:
  explicit TEngineLogger(TLogEngine& engine) : e_(engine) {}
  bool Armed() const override { return e_.Armed(); }
  void Cancel() override { e_.Cancel(); }
  void MeasurementStarted() override { e_.PoSpusteniMer(); }
  bool LoggingOn() const override { return e_.LoggingOn(); }
  void WriteRecord(const THresults& res, const TSwpStamp& stamp) override {
    e_.ZapisData(res, stamp);
  }
  void EventLoggingOff() override { e_.EventLoggingOff(); }
  void RunEnded(int64_t frames) override { e_.RunEnded(frames); }

 private:
  TLogEngine& e_;
};

}  // namespace qz
