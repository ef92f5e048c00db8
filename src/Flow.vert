#version 120
// Field quad, legend bars and the arrow pass. In the arrow pass (mode 1)
// every point is one arrow: its velocity is fetched here, the point size
// follows the speed when arrowSizeModif is 1. Where the velocity is missing
// (texels below 0) no arrow is drawn.

uniform sampler2D tex_velocity;
uniform int mode;
uniform float pointSize;
uniform int arrowSizeModif;

varying vec4 arrowVelocity;

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[5] = gl_MultiTexCoord5;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
    arrowVelocity = vec4(0.0);
    if (mode == 1) {
        // Arrow coordinates run bottom-up, texture rows top-down.
        vec2 st = vec2(gl_MultiTexCoord0.s, 1.0 - gl_MultiTexCoord0.t);
        arrowVelocity = texture2DLod(tex_velocity, st, 0.0);
        float size = pointSize;
        if (arrowSizeModif == 1)
            size = pointSize * (0.2 + 0.8 * arrowVelocity.a);
        gl_PointSize = size;
        if (arrowVelocity.a < 0.0)
            gl_Position = vec4(2.0, 2.0, 2.0, 1.0);  // outside the clip volume: the point is dropped
    }
}
