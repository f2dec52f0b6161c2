// Chen system (1999): a close relative of Lorenz with a richer, double-scroll shape.
//   dx/dt = a (y - x)
//   dy/dt = (c - a) x - x z + c y
//   dz/dt = x y - b z
// Classic values: a = 35, b = 3, c = 28.
// The window opens on a = 35 and b = 3 fixed, c from 20 to 28: below about 24 the flow falls
// onto fixed points, towards 28 the double scroll appears. The flow is fast, hence the step of
// 0.002.
var parameters = ["a", "b", "c"];

function evolution(p, x, y, z) {
    var a = p[0], b = p[1], c = p[2];
    return [a * (y - x), (c - a) * x - x * z + c * y, x * y - b * z];
}

var initial = {
    sweep: {a: 35, b: 3, c: [20, 28]},
    seeds: [[-3, 2, 20]],
    duration: 10,
    step: 0.002,
};
