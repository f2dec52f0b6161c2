#pragma once

#include <string>

namespace kinora {

// A number as the number fields show it: the shortest text that reads back as the same double,
// in plain decimals when they are short ("0.0001") and otherwise with an exponent written as
// people write it ("1e-9", "1e300").
std::string shortestNumberText(double value);
// value rounded to digits significant digits, its exponent written the same way: "23.0501".
std::string roundedNumberText(double value, int digits);

} // namespace kinora
