#version 150 core

// The full-screen copy: the quad's corners are already in clip coordinates.

in vec3 vPosition;

out vec2 textureCoordinate;

void main() {
    textureCoordinate = vPosition.xy * 0.5 + 0.5;
    gl_Position = vec4(vPosition, 1.0);
}
