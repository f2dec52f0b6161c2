#version 150 core

// Trajectory paths, coloured by their evolution: the step of the parameter sweep they belong to.

uniform float evolution;

out vec4 fragColor;
out vec4 fragID;

// Violet through blue, teal and lime to gold with steadily rising lightness, so the order of the
// evolutions reads at a glance and even the first stands out on black. color_ramp.fsh uses the
// same stops, so a sweep's start and end look alike in both views.
const vec3 stops[5] = vec3[5](vec3(0.42, 0.30, 0.96), vec3(0.16, 0.52, 1.00),
                              vec3(0.05, 0.76, 0.80), vec3(0.52, 0.88, 0.30),
                              vec3(1.00, 0.86, 0.22));

vec3 ramp(float s) {
    float x = clamp(s, 0.0, 1.0) * 4.0;
    int i = int(min(floor(x), 3.0));
    return mix(stops[i], stops[i + 1], x - float(i));
}

void main() {
    fragColor = vec4(ramp(evolution), 1.0);
    // Not pickable; zero also leaves an id underneath intact under source-alpha blending.
    fragID = vec4(0.0);
}
