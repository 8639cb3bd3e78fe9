#pragma once
// The plain array types passed between the model, the sweep and the texts.

#include <vector>

#include "util/complex.h"

namespace qz {

using TArrD = std::vector<double>;
using TArrC = std::vector<complex>;

}  // namespace qz
