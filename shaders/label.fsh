#version 150 core

// A label's image, premultiplied by its alpha; labels are never picked.

uniform sampler2D texture0;

in vec2 textureCoordinate;

out vec4 fragColor;
out vec4 fragID;

void main() {
    fragColor = texture(texture0, textureCoordinate);
    fragID = vec4(0.0);
}
