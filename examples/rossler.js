// Rössler system (1976): a single folded band, simpler than Lorenz's two wings.
//   dx/dt = -y - z
//   dy/dt = x + a y
//   dz/dt = b + z (x - c)
// Classic values: a = 0.2, b = 0.2, c = 5.7.
// A sweep worth trying: a and b at 0.2 (start and end), c from 2.5 to 6 walks through the
// period-doubling route to chaos: one loop, two loops, four, then the chaotic band.
var parameters = ["a", "b", "c"];

function evolution(p, x, y, z) {
    var a = p[0], b = p[1], c = p[2];
    return [-y - z, x + a * y, b + z * (x - c)];
}
