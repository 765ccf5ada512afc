// GLSL of the data set. Each material carries its own copy in its scene file; lines here are
// written as they are, indented by the scene writer.
#include "tools/datagen/shaders.h"

#include <string>

namespace {

// Screen passes: the quad's texture coordinate only.
constexpr const char* screenVertex = R"(varying vec2 uv;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
)";

// Lit objects: texture coordinate, position and normal in eye space, and the model's own position.
constexpr const char* litVertex = R"(varying vec2 uv;
varying vec3 localPos;
varying vec3 eyePos;
varying vec3 eyeNormal;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    localPos = gl_Vertex.xyz;
    eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
)";

constexpr const char* terrainVertex = R"(varying vec2 uv;
varying vec3 localPos;
varying vec3 localNormal;
varying vec3 eyePos;
varying vec3 eyeNormal;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    localPos = gl_Vertex.xyz;
    localNormal = gl_Normal;
    eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
)";

// Shared by the three terrain materials. The cloud pattern repeats a whole number of times along
// the 123-unit tile, so neighbouring tiles meet without a seam; cloudParams.xy moves it, z scales
// it and w is the depth of the shadows. Far ground fades into the sky's horizon colour.
constexpr const char* terrainShading = R"(uniform sampler2D sandMap;
uniform sampler2D sandNormals;
uniform vec4 cloudParams;
varying vec2 uv;
varying vec3 localPos;
varying vec3 localNormal;
varying vec3 eyePos;
varying vec3 eyeNormal;
vec3 bumpedNormal(float strength)
{
    vec3 n = normalize(eyeNormal);
    vec3 t = gl_NormalMatrix * vec3(1.0, 0.0, 0.0);
    t = normalize(t - n * dot(n, t));
    vec3 b = cross(t, n);
    vec3 m = texture2D(sandNormals, uv).xyz * 2.0 - 1.0;
    m.xy *= strength;
    return normalize(t * m.x + b * m.y + n * m.z);
}
float cloudShadow()
{
    vec2 q = localPos.xz * (cloudParams.z / 123.0) + cloudParams.xy * 0.15;
    float c = sin(6.28318 * (2.0 * q.y + 0.37 * q.x) + 1.7) * sin(6.28318 * (1.0 * q.y - 0.53 * q.x) + 0.3)
        + 0.5 * sin(6.28318 * (3.0 * q.y + 0.81 * q.x) + 0.4)
        + 0.3 * sin(6.28318 * (5.0 * q.y - 1.3 * q.x) + 2.9);
    return 1.0 - cloudParams.w * smoothstep(0.3, 1.0, c);
}
vec3 shade(vec3 albedo, vec3 n)
{
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float lit = max(dot(n, l), 0.0) * cloudShadow();
    vec3 colour = albedo * (vec3(0.36, 0.36, 0.44) + vec3(0.9, 0.82, 0.68) * lit);
    return mix(colour, vec3(0.86, 0.74, 0.58), smoothstep(80.0, 440.0, length(eyePos)));
}
)";

}  // namespace

const ShaderPair blurShader{screenVertex, R"(uniform sampler2D texture0;
uniform vec4 params;
varying vec2 uv;
void main()
{
    vec2 stepUv = params.yz * params.x;
    vec3 sum = texture2D(texture0, uv).rgb * 0.1370;
    sum += (texture2D(texture0, uv + stepUv).rgb + texture2D(texture0, uv - stepUv).rgb) * 0.1296;
    sum += (texture2D(texture0, uv + stepUv * 2.0).rgb + texture2D(texture0, uv - stepUv * 2.0).rgb) * 0.1098;
    sum += (texture2D(texture0, uv + stepUv * 3.0).rgb + texture2D(texture0, uv - stepUv * 3.0).rgb) * 0.0832;
    sum += (texture2D(texture0, uv + stepUv * 4.0).rgb + texture2D(texture0, uv - stepUv * 4.0).rgb) * 0.0563;
    sum += (texture2D(texture0, uv + stepUv * 5.0).rgb + texture2D(texture0, uv - stepUv * 5.0).rgb) * 0.0341;
    sum += (texture2D(texture0, uv + stepUv * 6.0).rgb + texture2D(texture0, uv - stepUv * 6.0).rgb) * 0.0185;
    gl_FragColor = vec4(sum, 1.0);
}
)"};

// Replaces every material of a scene: writes how much of the blurred picture each pixel takes.
const ShaderPair dofPreprocShader{R"(varying vec3 eyePos;
void main()
{
    eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    gl_Position = ftransform();
}
)",
                                  R"(uniform vec4 params;
varying vec3 eyePos;
void main()
{
    float blur = max(params.z, smoothstep(params.x, params.x + params.y, length(eyePos)));
    gl_FragColor = vec4(blur, blur, blur, 1.0);
}
)"};

// Drawn with the target-upright orientation, in which the blurred picture lies mirrored.
const ShaderPair dofCombineShader{screenVertex, R"(uniform sampler2D texture0;
uniform sampler2D texture1;
uniform vec4 alpha;
varying vec2 uv;
void main()
{
    vec3 blurred = texture2D(texture0, vec2(uv.x, 1.0 - uv.y)).rgb;
    float amount = texture2D(texture1, uv).r;
    gl_FragColor = vec4(blurred, clamp(amount, 0.0, 1.0) * alpha.x);
}
)"};

// The dome is drawn around the eye, so its own vertex position is the viewing direction.
const ShaderPair skyShader{R"(varying vec3 direction;
void main()
{
    direction = gl_Vertex.xyz;
    gl_Position = ftransform();
}
)",
                           R"(uniform vec4 params;
varying vec3 direction;
void main()
{
    vec3 d = normalize(direction);
    float up = clamp(d.y, 0.0, 1.0);
    vec3 colour = mix(vec3(0.86, 0.74, 0.58), vec3(0.2, 0.36, 0.66), pow(up, 0.5));
    colour = mix(colour, vec3(0.7, 0.58, 0.45), clamp(-d.y * 5.0, 0.0, 1.0));
    vec2 p = d.xz / (up + 0.25) * 5.0;
    float drift = params.y * 0.004;
    float cirrus = sin(p.x * 0.9 + drift) * sin(p.y * 0.7 - drift * 0.6)
        + 0.5 * sin((p.x + p.y) * 1.6 + drift * 1.3)
        + 0.25 * sin((p.x - p.y) * 3.1 - drift * 1.9);
    cirrus = smoothstep(0.4, 1.3, cirrus) * smoothstep(0.02, 0.3, d.y);
    colour = mix(colour, vec3(1.0, 0.97, 0.92), cirrus * 0.5);
    float sun = pow(max(dot(d, normalize(vec3(0.4, 1.0, 0.2))), 0.0), 24.0);
    colour += vec3(1.0, 0.85, 0.6) * sun * 0.5;
    colour += vec3(0.75, 0.66, 0.58) * params.x;
    gl_FragColor = vec4(colour, 1.0);
}
)"};

// A ring drawn around the eye with alpha blending; the image's alpha is the mountains' outline.
const ShaderPair ridgeShader{R"(varying vec2 uv;
varying float height;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    height = gl_Vertex.y;
    gl_Position = ftransform();
}
)",
                             R"(uniform sampler2D ridges;
uniform vec4 haze;
varying vec2 uv;
varying float height;
void main()
{
    vec4 c = texture2D(ridges, uv);
    vec3 colour = mix(haze.rgb, c.rgb, smoothstep(-30.0, 70.0, height) * haze.a);
    gl_FragColor = vec4(colour, c.a);
}
)"};

const ShaderPair terrainSandShader{terrainVertex, std::string(terrainShading) + R"(void main()
{
    vec3 albedo = texture2D(sandMap, uv).rgb;
    gl_FragColor = vec4(shade(albedo, bumpedNormal(1.0)), 1.0);
}
)"};

// Red sandstone in bands; the bands' wobble along z also repeats with the tile.
const ShaderPair terrainWallShader{terrainVertex, std::string(terrainShading) + R"(void main()
{
    float bend = 2.0 * sin(localPos.z * 0.1021653 + localPos.x * 0.05);
    float strata = 0.9 + 0.06 * sin(localPos.y * 1.7 + bend) + 0.04 * sin(localPos.y * 4.3 - 1.3 * bend);
    vec3 albedo = texture2D(sandMap, uv * 0.5).rgb * vec3(0.95, 0.72, 0.58) * strata;
    gl_FragColor = vec4(shade(albedo, bumpedNormal(2.0)), 1.0);
}
)"};

// Dark rock, with drifted sand on the flatter ledges.
const ShaderPair terrainPeakShader{terrainVertex, std::string(terrainShading) + R"(void main()
{
    float level = clamp(normalize(localNormal).y, 0.0, 1.0);
    float height = clamp((localPos.y + 5.0) / 60.0, 0.0, 1.0);
    vec3 rock = mix(vec3(0.45, 0.33, 0.28), vec3(0.62, 0.46, 0.36), height);
    vec3 albedo = mix(rock, vec3(0.93, 0.82, 0.64), smoothstep(0.75, 0.95, level));
    albedo *= 0.7 + 0.6 * texture2D(sandMap, uv * 0.25).r;
    gl_FragColor = vec4(shade(albedo, bumpedNormal(1.5)), 1.0);
}
)"};

// Drawn additively: the colour counts by its alpha. uvShift scrolls the noise, so the tongue
// flickers as the value jumps from frame to frame; params.x is the intensity.
const ShaderPair flameShader{screenVertex, R"(uniform sampler2D flameNoise;
uniform vec4 params;
uniform vec4 uvShift;
varying vec2 uv;
void main()
{
    float up = clamp(uv.y, 0.0, 1.0);
    float n = texture2D(flameNoise, vec2(uv.x * 0.6 + uvShift.x, uv.y * 0.5 - uvShift.y)).r;
    float across = abs(uv.x * 2.0 - 1.0) + (n - 0.5) * 0.5 * up;
    float width = 0.95 * pow(1.0 - up, 0.7) * smoothstep(0.0, 0.18, up + 0.04);
    float body = 1.0 - smoothstep(width * 0.35, width + 0.001, across);
    float heat = body * (1.0 - up * 0.8) * (0.65 + 0.7 * n);
    vec3 colour = mix(vec3(0.9, 0.18, 0.03), vec3(1.0, 0.75, 0.25), clamp(heat * 1.4, 0.0, 1.0));
    colour = mix(colour, vec3(1.0, 0.97, 0.85), clamp(heat * 2.0 - 1.2, 0.0, 1.0));
    gl_FragColor = vec4(colour, clamp(params.x * 2.0 * body * (0.5 + n), 0.0, 1.0));
}
)"};

// Normal-mapped hull; the tangent runs around the body's long (z) axis. The cup that carries the
// flames glows from inside.
const ShaderPair hullShader{R"(varying vec2 uv;
varying vec3 localPos;
varying vec3 eyePos;
varying vec3 eyeNormal;
varying vec3 eyeTangent;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    localPos = gl_Vertex.xyz;
    vec3 tangent = cross(vec3(0.0, 0.0, 1.0), gl_Normal);
    if (dot(tangent, tangent) < 0.0001)
        tangent = cross(vec3(1.0, 0.0, 0.0), gl_Normal);
    eyeTangent = gl_NormalMatrix * normalize(tangent);
    eyeNormal = gl_NormalMatrix * gl_Normal;
    eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    gl_Position = ftransform();
}
)",
                            R"(uniform sampler2D hullMap;
uniform sampler2D hullNormals;
uniform vec4 emberColour;
varying vec2 uv;
varying vec3 localPos;
varying vec3 eyePos;
varying vec3 eyeNormal;
varying vec3 eyeTangent;
void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 t = normalize(eyeTangent - n * dot(n, eyeTangent));
    vec3 b = cross(n, t);
    vec3 m = texture2D(hullNormals, uv).xyz * 2.0 - 1.0;
    vec3 bumped = normalize(t * m.x + b * m.y + n * m.z);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    vec3 v = normalize(-eyePos);
    vec3 albedo = texture2D(hullMap, uv).rgb;
    float diffuse = max(dot(bumped, l), 0.0);
    float specular = pow(max(dot(reflect(-l, bumped), v), 0.0), 30.0);
    float rim = pow(1.0 - max(dot(n, v), 0.0), 3.0);
    vec3 colour = albedo * (0.32 + 0.85 * diffuse) + vec3(0.9, 0.85, 0.75) * specular * 0.6;
    colour += vec3(0.35, 0.45, 0.6) * rim * 0.5;
    float ember = 1.0 - smoothstep(0.05, 0.45, distance(localPos, vec3(0.0, 0.78, -2.5)));
    colour += emberColour.rgb * ember * emberColour.a;
    gl_FragColor = vec4(colour, 1.0);
}
)"};

const ShaderPair ballShader{litVertex, R"(uniform sampler2D marbleMap;
uniform vec4 tint;
varying vec2 uv;
varying vec3 eyePos;
varying vec3 eyeNormal;
void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 v = normalize(-eyePos);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    vec3 albedo = texture2D(marbleMap, uv).rgb * tint.rgb;
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 40.0);
    float rim = pow(1.0 - max(dot(n, v), 0.0), 2.5);
    vec3 colour = albedo * (0.38 + 0.8 * diffuse) + vec3(1.0, 0.95, 0.9) * specular * 0.7;
    colour += vec3(0.6, 0.7, 0.9) * rim * tint.a;
    gl_FragColor = vec4(colour, 1.0);
}
)"};

// Chitin: a tight highlight and a coloured sheen towards the outline.
constexpr const char* chitinShading = R"(uniform sampler2D skinMap;
uniform vec4 sheen;
varying vec2 uv;
varying vec3 localPos;
varying vec3 eyePos;
varying vec3 eyeNormal;
vec3 chitin()
{
    vec3 n = normalize(eyeNormal);
    vec3 v = normalize(-eyePos);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    vec3 albedo = texture2D(skinMap, uv).rgb;
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 50.0);
    float edge = pow(1.0 - max(dot(n, v), 0.0), 2.0);
    return albedo * (0.3 + 0.85 * diffuse) + vec3(1.0, 0.9, 0.8) * specular * 0.8 + sheen.rgb * edge * sheen.a;
}
)";

const ShaderPair wormPlateShader{litVertex, std::string(chitinShading) + R"(void main()
{
    gl_FragColor = vec4(chitin(), 1.0);
}
)"};

// The head glows at its snout.
const ShaderPair wormHeadShader{litVertex, std::string(chitinShading) + R"(void main()
{
    float mouth = smoothstep(8.0, 10.5, localPos.y);
    gl_FragColor = vec4(chitin() + vec3(1.0, 0.45, 0.1) * mouth, 1.0);
}
)"};

const ShaderPair wormEyeShader{litVertex, R"(uniform vec4 glow;
varying vec3 eyePos;
varying vec3 eyeNormal;
void main()
{
    float facing = max(dot(normalize(eyeNormal), normalize(-eyePos)), 0.0);
    gl_FragColor = vec4(glow.rgb * (0.5 + 0.7 * facing * facing), 1.0);
}
)"};

// Reflections are looked up in the model's own axes, which are the world's (the cannon is only
// moved). params: x reflection strength, y heat of the muzzle (only its positive part glows, and
// only on the barrel's front half, not on the drum below it), z turns the reflected world about
// the vertical.
const ShaderPair cannonShader{R"(varying vec2 uv;
varying vec3 localPos;
varying vec3 localNormal;
varying vec3 localView;
varying vec3 eyeNormal;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    localPos = gl_Vertex.xyz;
    localNormal = gl_Normal;
    vec4 eye = gl_ModelViewMatrixInverse * vec4(0.0, 0.0, 0.0, 1.0);
    localView = gl_Vertex.xyz - eye.xyz / eye.w;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
)",
                              R"(uniform sampler2D metalMap;
uniform samplerCube envMap;
uniform vec4 params;
varying vec2 uv;
varying vec3 localPos;
varying vec3 localNormal;
varying vec3 localView;
varying vec3 eyeNormal;
void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    vec3 ln = normalize(localNormal);
    vec3 view = normalize(localView);
    vec3 r = reflect(view, ln);
    float turn = params.z * 0.6;
    r = vec3(cos(turn) * r.x - sin(turn) * r.z, r.y, sin(turn) * r.x + cos(turn) * r.z);
    vec3 env = textureCube(envMap, r).rgb;
    float fresnel = 0.3 + 0.7 * pow(1.0 - abs(dot(view, ln)), 3.0);
    vec3 albedo = texture2D(metalMap, uv).rgb;
    float diffuse = max(dot(n, l), 0.0);
    vec3 colour = albedo * (0.3 + 0.75 * diffuse) + env * (params.x * 0.55 * fresnel);
    float barrel = (1.0 - smoothstep(1.3, 1.45, length(localPos.xy))) *
                   max(step(-1.19, localPos.y), step(2.15, -localPos.z));
    float heat = max(params.y, 0.0) * smoothstep(1.0, 3.6, -localPos.z) * barrel;
    colour = colour * (1.0 - 0.5 * heat) + vec3(1.0, 0.42, 0.08) * heat * 1.2;
    gl_FragColor = vec4(colour, 1.0);
}
)"};

// Polished metal with a tail that burns in the glow colour (its alpha: how much).
const ShaderPair shellShader{litVertex, R"(uniform vec4 glow;
varying vec3 localPos;
varying vec3 eyePos;
varying vec3 eyeNormal;
void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    vec3 v = normalize(-eyePos);
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 24.0);
    vec3 metal = vec3(0.55, 0.5, 0.45) * (0.3 + 0.8 * diffuse) + vec3(1.0) * specular * 0.6;
    float hot = 1.0 - smoothstep(-1.1, 0.2, localPos.y);
    gl_FragColor = vec4(mix(metal, glow.rgb, hot * glow.a), 1.0);
}
)"};
