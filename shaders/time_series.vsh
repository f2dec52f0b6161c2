#version 150 core

// One component of a path's states against time, drawn from the path's own vertices: vertex i
// lies firstStep + i steps after its seed (with firstStep 0, vertex 0 is the seed itself), and
// its picture position is an affine map of t across and of the chosen component up.

uniform float step;
uniform int firstStep;
uniform int component;
// clip x = t * timeToClip.x + timeToClip.y; clip y the same of the component with valueToClip.
uniform vec2 timeToClip;
uniform vec2 valueToClip;

in vec3 vPosition;
in vec3 vVelocity;

out vec3 velocity;

void main() {
    velocity = vVelocity;
    float t = float(firstStep + gl_VertexID) * step;
    gl_Position = vec4(t * timeToClip.x + timeToClip.y,
                       vPosition[component] * valueToClip.x + valueToClip.y, 0.0, 1.0);
}
