// Lorenz system (1963): convection in a fluid layer, the first strange attractor, the butterfly.
//   dx/dt = sigma (y - x)
//   dy/dt = x (rho - z) - y
//   dz/dt = x y - beta z
// Classic values: rho = 28, sigma = 10, beta = 8/3.
// The window opens on the sweep sigma 10 and beta 8/3 at both ends, rho from 10 to 28: below
// about 24.7 the trajectories spiral into one of two fixed points, at 28 they wander over both
// wings.
var parameters = ["rho", "sigma", "beta"];

function evolution(p, x, y, z) {
    var rho = p[0], sigma = p[1], beta = p[2];
    return [sigma * (y - x), x * (rho - z) - y, x * y - beta * z];
}

var initial = {
    sweep: {rho: [10, 28], sigma: 10, beta: 8 / 3},
    seeds: [[1, 1, 1], [-3, 2, 12]],
    duration: 20,
};
