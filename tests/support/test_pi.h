// The one value of pi the tests compute their signals and closed forms with.
#pragma once

#include <cmath>

inline const double pi = std::acos(-1.);
