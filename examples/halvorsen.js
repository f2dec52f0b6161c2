// Halvorsen attractor: three lobes, cyclically symmetric in x, y and z.
//   dx/dt = -a x - 4 y - 4 z - y^2
//   dy/dt = -a y - 4 z - 4 x - z^2
//   dz/dt = -a z - 4 x - 4 y - x^2
// Classic value: a = 1.89 (some authors use 1.4).
// The window opens on a from 1.3 to 1.89 from a seed at (-5, 0, 0); the attractor spans about
// 20 units.
var parameters = ["a"];

function evolution(p, x, y, z) {
    var a = p[0];
    return [
        -a * x - 4 * y - 4 * z - y * y,
        -a * y - 4 * z - 4 * x - z * z,
        -a * z - 4 * x - 4 * y - x * x,
    ];
}

var initial = {
    sweep: {a: [1.3, 1.89]},
    seeds: [[-5, 0, 0]],
    duration: 50,
};
