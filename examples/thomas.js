// Thomas attractor (1999): cyclically symmetric, the same law in x, y and z, a turned copy of
// itself on every axis.
//   dx/dt = sin(y) - b x
//   dy/dt = sin(z) - b y
//   dz/dt = sin(x) - b z
// Classic value: b = 0.208186 (chaotic). Above about 0.33 the flow settles on a point.
// The window opens on b from 0.32 down to 0.18 (the start above the end): the fan opens from a
// single stable cycle into the chaotic lattice. Trajectories are slow, hence the long duration
// and the step of 0.05.
var parameters = ["b"];

function evolution(p, x, y, z) {
    var b = p[0];
    return [Math.sin(y) - b * x, Math.sin(z) - b * y, Math.sin(x) - b * z];
}

var initial = {
    sweep: {b: [0.32, 0.18]},
    seeds: [[0.1, 0, 0]],
    duration: 300,
    step: 0.05,
};
