#pragma once

#include "JacobianMatrix.h"

#include <array>
#include <complex>

namespace kinora {

// The three eigenvalues of m: the roots of its characteristic cubic, from the closed form and
// then polished by Newton's method on the cubic. Real ones come first in ascending order, then a
// complex pair with the positive imaginary part first.
std::array<std::complex<double>, 3> eigenvalues(const JacobianMatrix& m);

} // namespace kinora
