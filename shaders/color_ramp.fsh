#version 150 core

// The parameter-space line, ramped from the sweep's start (velocity 0) to its end (velocity 1).

in vec3 velocity;

out vec4 fragColor;
out vec4 fragID;

// The stops of path.fsh: the line's ends match the first and last evolution's paths.
const vec3 stops[5] = vec3[5](vec3(0.42, 0.30, 0.96), vec3(0.16, 0.52, 1.00),
                              vec3(0.05, 0.76, 0.80), vec3(0.52, 0.88, 0.30),
                              vec3(1.00, 0.86, 0.22));

vec3 ramp(float s) {
    float x = clamp(s, 0.0, 1.0) * 4.0;
    int i = int(min(floor(x), 3.0));
    return mix(stops[i], stops[i + 1], x - float(i));
}

void main() {
    fragColor = vec4(ramp(velocity.x), 1.0);
    fragID = vec4(0.0);
}
