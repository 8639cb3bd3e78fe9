#pragma once
// Fixtures shared by the simulated analyzer's tests: a scripted random source and a model over
// a fresh analyzer state with a tuner that passes everything through, with its entries' presenter.

#include <deque>
#include <memory>
#include <vector>

#include "core/qvwin.h"
#include "core/records.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/modeltuner.h"
#include "util/random.h"

namespace qz::testing {

// Hands out the scripted values in order, then `rest` for ever; counts the draws.
class ScriptRandom : public RandomSource {
 public:
  explicit ScriptRandom(std::vector<double> v, double rest = 0.5)
      : v_(v.begin(), v.end()), rest_(rest) {}
  double Next() override {
    ++draws;
    if (v_.empty()) return rest_;
    const double x = v_.front();
    v_.pop_front();
    return x;
  }
  int draws = 0;

 private:
  std::deque<double> v_;
  double rest_;
};

// Installs a scripted source for the lifetime of the object; the default source comes back after.
class ScopedRandom {
 public:
  explicit ScopedRandom(std::vector<double> v = {}, double rest = 0.5) {
    auto s = std::make_unique<ScriptRandom>(std::move(v), rest);
    src = s.get();
    SetRandomSource(std::move(s));
  }
  ~ScopedRandom() { SetRandomSource(nullptr); }
  ScriptRandom* src;
};

struct MdlRig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  TTransparentTuner tuner;
  TMdlEngine m{qv, sim, tuner};
  // The model window's entries over the model.
  TMdlPresenter p{m};
  std::vector<int64_t> sleeps;
  MdlRig() {
    m.Sleep = [this](int64_t us) { sleeps.push_back(us); };
  }
};

}  // namespace qz::testing