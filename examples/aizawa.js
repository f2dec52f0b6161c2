// Aizawa attractor: a sphere-like shell pierced by a tube along the z axis.
//   dx/dt = (z - b) x - d y
//   dy/dt = d x + (z - b) y
//   dz/dt = c + a z - z^3 / 3 - (x^2 + y^2)(1 + e z) + f z x^3
// Classic values: a = 0.95, b = 0.7, c = 0.6, d = 3.5, e = 0.25, f = 0.1.
// The window opens on everything at its classic value but a, which runs from 0.7 to 0.95: the
// shell grows from a torus-like ring into the full attractor.
var parameters = ["a", "b", "c", "d", "e", "f"];

function evolution(p, x, y, z) {
    var a = p[0], b = p[1], c = p[2], d = p[3], e = p[4], f = p[5];
    return [
        (z - b) * x - d * y,
        d * x + (z - b) * y,
        c + a * z - (z * z * z) / 3 - (x * x + y * y) * (1 + e * z) + f * z * x * x * x,
    ];
}

var initial = {
    sweep: {a: [0.7, 0.95], b: 0.7, c: 0.6, d: 3.5, e: 0.25, f: 0.1},
    seeds: [[0.1, 0, 0]],
    duration: 100,
};
