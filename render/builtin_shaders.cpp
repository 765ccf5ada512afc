// The built-in programs, written against the fixed-pipeline attributes and matrices.
#include "render/builtin_shaders.h"

namespace {

const char texturedVertex[] = R"(varying vec2 v_texcoord;
void main()
{
    gl_Position = ftransform();
    v_texcoord = gl_MultiTexCoord0.xy;
}
)";

const char texturedAlphaFragment[] = R"(uniform sampler2D tex;
uniform vec4 alpha;
varying vec2 v_texcoord;
void main()
{
    vec4 c = texture2D(tex, v_texcoord);
    gl_FragColor = vec4(c.rgb, alpha.x * c.a);
}
)";

const char polarQuadVertex[] = R"(void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
)";

// Four textures laid around the point (0.5, 0.9), a quarter turn each, turned by 0.15.
const char polarQuadFragment[] = R"(uniform sampler2D texture0;
uniform sampler2D texture1;
uniform sampler2D texture2;
uniform sampler2D texture3;
void main()
{
    vec2 d = gl_TexCoord[0].xy - vec2(0.5, 0.9);
    float u = atan(d.y, d.x) / (3.14159 * 2.0) + 0.5;
    float v = length(d) * 1.2;
    u = mod(u + 0.15, 1.0);
    vec4 c;
    if (u < 0.25)
        c = texture2D(texture0, vec2(u * 4.0, v));
    else if (u < 0.5)
        c = texture2D(texture1, vec2((u - 0.25) * 4.0, v));
    else if (u < 0.75)
        c = texture2D(texture2, vec2((u - 0.5) * 4.0, v));
    else
        c = texture2D(texture3, vec2((u - 0.75) * 4.0, v));
    gl_FragColor = vec4(c.rgb, 1.0);
}
)";

const char gradientVertex[] = R"(uniform vec4 background_color1;
uniform vec4 background_color2;
varying vec3 color;
void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    float f = gl_Vertex.y / 512.0;
    color = background_color1.rgb * f + background_color2.rgb * (1.0 - f);
}
)";

const char gradientFragment[] = R"(varying vec3 color;
void main()
{
    gl_FragColor = vec4(color, 1.0);
}
)";

// The modelview's rotation is replaced by a plain scale, so the square always faces the viewer.
const char spriteVertex[] = R"(uniform vec4 radius;
varying vec4 pos;
varying vec2 v_texcoord;
varying vec4 colori;
void main()
{
    float r = radius.x;
    mat4 m = gl_ModelViewMatrix;
    m[0] = vec4(r, 0.0, 0.0, 0.0);
    m[1] = vec4(0.0, r, 0.0, 0.0);
    m[2] = vec4(0.0, 0.0, r, 0.0);
    pos = m * gl_Vertex;
    gl_Position = gl_ProjectionMatrix * pos;
    v_texcoord = gl_MultiTexCoord0.xy;
    colori = gl_Color;
}
)";

const char spriteFragment[] = R"(uniform sampler2D texture;
varying vec4 pos;
varying vec2 v_texcoord;
varying vec4 colori;
void main()
{
    gl_FragColor = texture2D(texture, v_texcoord) * colori;
}
)";

const char vertexColourVertex[] = R"(varying vec4 color;
void main()
{
    color = gl_Color;
    gl_Position = ftransform();
}
)";

const char vertexColourFragment[] = R"(varying vec4 color;
void main()
{
    gl_FragColor = color;
}
)";

const char blurMaskVertex[] = R"(varying vec2 v_texcoord;
varying vec4 v_color;
void main()
{
    gl_Position = ftransform();
    v_texcoord = gl_MultiTexCoord0.xy;
    v_color = gl_Color;
}
)";

// Only the red channel of the nine-tap horizontal blur is used, as coverage.
const char blurMaskFragment[] = R"(uniform vec4 blur;
uniform sampler2D tex;
varying vec2 v_texcoord;
varying vec4 v_color;
void main()
{
    vec2 offset = vec2(blur.x, 0.0);
    vec3 s = texture2D(tex, v_texcoord).rgb;
    s += texture2D(tex, v_texcoord - offset).rgb;
    s += texture2D(tex, v_texcoord - 2.0 * offset).rgb;
    s += texture2D(tex, v_texcoord - 3.0 * offset).rgb;
    s += texture2D(tex, v_texcoord - 4.0 * offset).rgb;
    s += texture2D(tex, v_texcoord + offset).rgb;
    s += texture2D(tex, v_texcoord + 2.0 * offset).rgb;
    s += texture2D(tex, v_texcoord + 3.0 * offset).rgb;
    s += texture2D(tex, v_texcoord + 4.0 * offset).rgb;
    s = s * (1.0 / 9.0);
    gl_FragColor = vec4(v_color.rgb, s.r * v_color.a);
}
)";

const char texturedDimFragment[] = R"(uniform sampler2D tex;
uniform vec4 alpha;
varying vec2 v_texcoord;
void main()
{
    vec4 c = texture2D(tex, v_texcoord);
    gl_FragColor = vec4(c.rgb * alpha.x, c.a);
}
)";

const char scrolledTextureVertex[] = R"(uniform vec4 uvShift;
varying vec2 v_texcoord;
void main()
{
    gl_Position = ftransform();
    v_texcoord = gl_MultiTexCoord0.xy + uvShift.xy;
}
)";

}  // namespace

const ShaderSources builtInShaderSources[8] = {
    {texturedVertex, texturedAlphaFragment},
    {polarQuadVertex, polarQuadFragment},
    {gradientVertex, gradientFragment},
    {spriteVertex, spriteFragment},
    {vertexColourVertex, vertexColourFragment},
    {blurMaskVertex, blurMaskFragment},
    {texturedVertex, texturedDimFragment},
    {scrolledTextureVertex, texturedAlphaFragment},
};
