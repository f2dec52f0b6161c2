#version 150 core

// Every scene program: places the vertex and hands its second triple (an axis colour, a path
// sample's displacement from its seed, or how far along a line the vertex lies) to the fragment
// stage.

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

in vec3 vPosition;
in vec3 vVelocity;

out vec3 velocity;

void main() {
    velocity = vVelocity;
    gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(vPosition, 1.0);
}
