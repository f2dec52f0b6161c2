#version 150 core

// The pickable objects: drawn white, with their id in the pick image as four bytes, red the
// highest and alpha the lowest. Drawn with blending off, or the id would be blended too.

uniform int objectID;

out vec4 fragColor;
out vec4 fragID;

void main() {
    fragColor = vec4(1.0);
    uint id = uint(objectID);
    fragID = vec4(uvec4(id >> 24u, id >> 16u, id >> 8u, id) & uvec4(255u)) / 255.0;
}
