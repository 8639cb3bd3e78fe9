#pragma once
// A whole-record round trip of a setup section. `perturb` names changes, each of one field away
// from a fresh record's value: each change alone must show in the written section (so a field
// the writer forgets, or a change that is no change, fails), and with all of them made the
// record is written, read into a fresh one and written again, which must give the same text and
// no value the fresh record keeps.
//
// The rig is made by `fresh()` and has `void Write(IniFile&) const` and
// `void Read(const IniFile&)`.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "util/inifile.h"

namespace qz::testing {

template <class Rig>
using TPerturbs = std::vector<std::pair<const char*, std::function<void(Rig&)>>>;

template <class Rig>
void ExpectRoundTrip(const std::function<std::unique_ptr<Rig>()>& fresh,
                     const TPerturbs<Rig>& perturb) {
  const auto text = [](const Rig& r) {
    IniFile ini;
    r.Write(ini);
    return ini.Text();
  };
  const QByteArray untouched = text(*fresh());
  auto all = fresh();
  for (const auto& [name, change] : perturb) {
    auto one = fresh();
    change(*one);
    EXPECT_NE(text(*one), untouched) << name << " does not show in the written section";
    change(*all);
  }
  IniFile written;
  all->Write(written);
  auto back = fresh();
  back->Read(written);
  EXPECT_EQ(text(*back), written.Text());
}

}  // namespace qz::testing
