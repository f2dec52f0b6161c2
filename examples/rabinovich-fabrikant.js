// Rabinovich–Fabrikant equations (1979): a model of waves in a nonequilibrium medium whose
// attractor changes shape drastically with small parameter changes.
//   dx/dt = y (z - 1 + x^2) + gamma x
//   dy/dt = x (3 z + 1 - x^2) + gamma y
//   dz/dt = -2 z (alpha + x y)
// Classic values: alpha = 0.14, gamma = 0.1 (also alpha = 1.1, gamma = 0.87).
// The window opens on gamma = 0.1 fixed, alpha from 0.1 to 0.3 from a seed at (-1, 0, 0.5): the
// wide chaotic loops of small alpha contract onto a small cycle. Some seeds, and alpha below
// about 0.09, escape to infinity: their paths leave the view.
var parameters = ["alpha", "gamma"];

function evolution(p, x, y, z) {
    var alpha = p[0], gamma = p[1];
    return [
        y * (z - 1 + x * x) + gamma * x,
        x * (3 * z + 1 - x * x) + gamma * y,
        -2 * z * (alpha + x * y),
    ];
}

var initial = {
    sweep: {alpha: [0.1, 0.3], gamma: 0.1},
    seeds: [[-1, 0, 0.5]],
    duration: 100,
};
