// Rössler system (1976): a single folded band, simpler than Lorenz's two wings.
//   dx/dt = -y - z
//   dy/dt = x + a y
//   dz/dt = b + z (x - c)
// Classic values: a = 0.2, b = 0.2, c = 5.7.
// The window opens on a and b at 0.2 (start and end), c from 2.5 to 6: the period-doubling
// route to chaos. The violet loop (c = 2.5) closes after one turn, the next ones after two and
// four, and the gold ones (c near 6) fill the chaotic band. The first 100 time units, the
// approach from the seed, are hidden (transient), so each loop shows as it has settled.
var parameters = ["a", "b", "c"];

function evolution(p, x, y, z) {
    var a = p[0], b = p[1], c = p[2];
    return [-y - z, x + a * y, b + z * (x - c)];
}

var initial = {
    sweep: {a: 0.2, b: 0.2, c: [2.5, 6]},
    seeds: [[0, -4, 0]],
    duration: 200,
    step: 0.02,
    transient: 100,
};
