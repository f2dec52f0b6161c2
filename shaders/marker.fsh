#version 150 core

// Equilibrium markers: a point coloured by the evolution it belongs to (velocity.x, the sweep
// place) and carved into the shape of its class (velocity.y): 0 disc, 1 ring, 2 cross,
// 3 diamond, 4 hollow diamond, 5 triangle, 6 square. A dark rim keeps it apart from the paths.

in vec3 velocity;

out vec4 fragColor;
out vec4 fragID;

// The stops of path.fsh, so a marker has the colour of its evolution's paths.
const vec3 stops[5] = vec3[5](vec3(0.42, 0.30, 0.96), vec3(0.16, 0.52, 1.00),
                              vec3(0.05, 0.76, 0.80), vec3(0.52, 0.88, 0.30),
                              vec3(1.00, 0.86, 0.22));

vec3 ramp(float s) {
    float x = clamp(s, 0.0, 1.0) * 4.0;
    int i = int(min(floor(x), 3.0));
    return mix(stops[i], stops[i + 1], x - float(i));
}

// How far inside the shape p lies (negative outside), in units of the point's half side, for p
// from -1 to 1 on both axes.
float inside(int shape, vec2 p) {
    float disc = 0.9 - length(p);
    float diamond = 0.95 - (abs(p.x) + abs(p.y));
    if (shape == 0) {
        return disc;
    }
    if (shape == 1) {
        return min(disc, length(p) - 0.45);
    }
    if (shape == 2) {
        vec2 q = abs(vec2(p.x + p.y, p.x - p.y)) * 0.7071;
        return min(0.9 - max(abs(p.x), abs(p.y)), 0.28 - min(q.x, q.y));
    }
    if (shape == 3) {
        return diamond;
    }
    if (shape == 4) {
        return min(diamond, abs(p.x) + abs(p.y) - 0.45);
    }
    if (shape == 5) {
        // Pointing up; the picture's y runs down in point coordinates.
        vec2 q = vec2(p.x, -p.y);
        return min(q.y + 0.8, min(0.9 - (q.y + 1.7 * q.x) * 0.5, 0.9 - (q.y - 1.7 * q.x) * 0.5));
    }
    return 0.8 - max(abs(p.x), abs(p.y));
}

void main() {
    vec2 p = gl_PointCoord * 2.0 - 1.0;
    float depth = inside(int(velocity.y + 0.5), p);
    if (depth < 0.0) {
        discard;
    }
    // The outer rim, a fifth of the half side, is dark.
    fragColor = vec4(depth < 0.2 ? vec3(0.05) : ramp(velocity.x), 1.0);
    fragID = vec4(0.0);
}
