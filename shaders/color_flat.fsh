#version 150 core

// Axes and connectors in the colour their vertices carry.

in vec3 velocity;

out vec4 fragColor;
out vec4 fragID;

void main() {
    fragColor = vec4(velocity, 1.0);
    fragID = vec4(0.0);
}
