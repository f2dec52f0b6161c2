#version 150 core

// Copies the off-screen picture onto the window, opaque.

uniform sampler2D texture0;

in vec2 textureCoordinate;

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(texture0, textureCoordinate).rgb, 1.0);
}
