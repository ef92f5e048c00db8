#version 120
// Colours the field quad by the selected background through its transfer
// function, draws the legend bars, and orients and colours the arrow sprites.
// Texels below 0 hold no data: the field shows noDataColor there, never a
// colour of the transfer function.

uniform sampler2D tex_velocity;
uniform sampler2D tex_data;
uniform sampler1D tex_transfer;
uniform sampler2D tex_arrow;
uniform sampler1D tex_tfarrow;

uniform int background;
uniform int mode;
uniform int enableArrowTF;
uniform int renderTF;
uniform int renderArrowTF;
uniform vec2 maxVel;
uniform vec2 minVel;
uniform vec3 noDataColor;

varying vec4 arrowVelocity;

const vec3 arrowColor = vec3(1.0, 0.6, 0.1);

void main()
{
    if (renderTF == 1) {
        gl_FragColor = vec4(texture1D(tex_transfer, gl_TexCoord[0].s).rgb, 1.0);
        return;
    }
    if (renderArrowTF == 1) {
        gl_FragColor = vec4(texture1D(tex_tfarrow, gl_TexCoord[5].s).rgb, 1.0);
        return;
    }
    if (mode == 1) {
        // Turn the sprite so that the arrow image's +x axis follows the flow.
        vec2 v = minVel + arrowVelocity.rg * (maxVel - minVel);
        float angle = (v.x == 0.0 && v.y == 0.0) ? 0.0 : atan(v.y, v.x);
        vec2 p = vec2(gl_PointCoord.s - 0.5, 0.5 - gl_PointCoord.t);
        float c = cos(angle);
        float s = sin(angle);
        vec2 q = vec2(c * p.x + s * p.y, -s * p.x + c * p.y) + 0.5;
        vec4 glyph = texture2D(tex_arrow, q);
        vec3 rgb = arrowColor;
        if (enableArrowTF == 1)
            rgb = texture1D(tex_tfarrow, arrowVelocity.a).rgb;
        if (glyph.a < 0.01 || arrowVelocity.a < 0.0)
            discard;
        // The image is white inside the arrow and black on its edge. The
        // edge is dark, so that an arrow coloured like the field under it
        // still reads; around a nearly black arrow it is light instead.
        float inside = glyph.r;
        vec3 edge = dot(rgb, vec3(0.299, 0.587, 0.114)) < 0.2 ? vec3(0.8) : vec3(0.1);
        gl_FragColor = vec4(mix(edge, rgb, inside), glyph.a);
        return;
    }
    float value;
    if (background == 0)
        value = texture2D(tex_velocity, gl_TexCoord[0].st).a;
    else
        value = texture2D(tex_data, gl_TexCoord[0].st).r;
    if (value < 0.0) {
        gl_FragColor = vec4(noDataColor, 1.0);
        return;
    }
    gl_FragColor = vec4(texture1D(tex_transfer, value).rgb, 1.0);
}
