#version 150 core

// The exponent key's bar, from the most negative exponent shown (velocity 0) through zero
// (velocity 0.5) to the most positive (velocity 1).

in vec3 velocity;

out vec4 fragColor;
out vec4 fragID;

// The ramp of path.fsh's colouring by exponent.
vec3 exponentRamp(float x) {
    vec3 regular = vec3(0.20, 0.45, 1.00);
    vec3 neutral = vec3(0.80, 0.80, 0.80);
    vec3 chaotic = vec3(1.00, 0.30, 0.12);
    float t = clamp(x, 0.0, 1.0);
    return t < 0.5 ? mix(regular, neutral, t * 2.0) : mix(neutral, chaotic, t * 2.0 - 1.0);
}

void main() {
    fragColor = vec4(exponentRamp(velocity.x), 1.0);
    fragID = vec4(0.0);
}
