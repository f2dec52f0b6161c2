#version 150 core

// Text labels over the picture: quads placed in device pixels of the target, origin at the
// lower left, textured with the label's image.

uniform vec2 targetSize;

in vec3 vPosition;
in vec3 vVelocity;

out vec2 textureCoordinate;

void main() {
    textureCoordinate = vVelocity.xy;
    gl_Position = vec4(vPosition.xy / targetSize * 2.0 - 1.0, 0.0, 1.0);
}
