#version 150 core

// Trajectory paths, coloured by their evolution: the step of the parameter sweep they belong to;
// or by their largest Lyapunov exponent, on the exponent key (color_exponent.fsh).

uniform float evolution;
// 0 by evolution; 1 by exponent, exponentShade the path's place on the exponent key from 0 to 1;
// 2 by exponent for a path that has none (too short, not computed yet).
uniform int colouring;
uniform float exponentShade;
// The part of the colour taken away: 0 as drawn, more for a path dimmed while another is soloed.
uniform float dimming;

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

// Blue for contraction through a pale grey at zero to red for chaos (positive).
vec3 exponentRamp(float x) {
    vec3 regular = vec3(0.20, 0.45, 1.00);
    vec3 neutral = vec3(0.80, 0.80, 0.80);
    vec3 chaotic = vec3(1.00, 0.30, 0.12);
    float t = clamp(x, 0.0, 1.0);
    return t < 0.5 ? mix(regular, neutral, t * 2.0) : mix(neutral, chaotic, t * 2.0 - 1.0);
}

void main() {
    vec3 colour = ramp(evolution);
    if (colouring == 1) {
        colour = exponentRamp(exponentShade);
    } else if (colouring == 2) {
        colour = vec3(0.35);
    }
    fragColor = vec4(colour * (1.0 - dimming), 1.0);
    // Not pickable; zero also leaves an id underneath intact under source-alpha blending.
    fragID = vec4(0.0);
}
