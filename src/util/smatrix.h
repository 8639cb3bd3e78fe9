#pragma once
// A 2 x 2 scattering matrix. Its two-port algebra lives in core (core/smatrixalg.h).

#include "util/complex.h"

namespace qz {

struct TSmatrix {
  complex s11, s12, s21, s22;  // in this order everywhere (files, tables)
  friend constexpr bool operator==(const TSmatrix&, const TSmatrix&) = default;
};

}  // namespace qz
