// The browser build's GL layer where it needs no browser: its matrix arithmetic bit for bit
// against Mesa's own, and its GLSL rewrite, whose text every program of the show must link as
// (desktop Mesa takes GLSL ES 1.00 too).
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/webgl/fixed_matrix.h"
#include "platform/webgl/glsl_rewrite.h"
#include "render/builtin_shaders.h"
#include "tests/support/gl_context.h"
#include "tools/datagen/shaders.h"

namespace {

struct MatrixCase {
    const char* name;
    std::function<void()> mesa;           // on the current GL matrix
    std::function<void(FixedMatrix&)> ours;
};

TEST(WebGlMatrices, EqualMesasBitForBit) {
    ASSERT_TRUE(requireGlContext());
    const float m[16] = {0.3f, -1.7f, 2.1f, 0.0f, 0.5f, 0.25f, -0.125f, 0.0f, 1.1f, 0.9f, -3.3f, 0.0f, 7.f, -2.f, 5.f, 1.f};
    const MatrixCase cases[] = {
        {"rotate about x, y, z and against them",
         [] { glRotatef(37.5f, 1, 0, 0); glRotatef(-81.25f, 0, 1, 0); glRotatef(200.1f, 0, 0, 1); glRotatef(13.f, 0, 0, -2); glRotatef(7.f, 0, -1, 0); glRotatef(3.3f, -4, 0, 0); },
         [](FixedMatrix& f) { rotateMatrix(f, 37.5f, 1, 0, 0); rotateMatrix(f, -81.25f, 0, 1, 0); rotateMatrix(f, 200.1f, 0, 0, 1); rotateMatrix(f, 13.f, 0, 0, -2); rotateMatrix(f, 7.f, 0, -1, 0); rotateMatrix(f, 3.3f, -4, 0, 0); }},
        {"rotate about a slanted axis, and about none",
         [] { glRotatef(123.456f, 0.3f, -0.7f, 2.0f); glRotatef(50, 0, 0, 0); glRotatef(1e-3f, 1e-5f, 1e-5f, 0); },
         [](FixedMatrix& f) { rotateMatrix(f, 123.456f, 0.3f, -0.7f, 2.0f); rotateMatrix(f, 50, 0, 0, 0); rotateMatrix(f, 1e-3f, 1e-5f, 1e-5f, 0); }},
        {"translate and scale over a full matrix",
         [&m] { glLoadMatrixf(m); glTranslatef(1.5f, -2.25f, 1000.125f); glScalef(0.1f, 3.f, -7.f); },
         [&m](FixedMatrix& f) { std::memcpy(f.m, m, sizeof m); translateMatrix(f, 1.5f, -2.25f, 1000.125f); scaleMatrix(f, 0.1f, 3.f, -7.f); }},
        {"multiply",
         [&m] { glRotatef(30, 0, 1, 0); glMultMatrixf(m); glMultMatrixf(m); },
         [&m](FixedMatrix& f) { rotateMatrix(f, 30, 0, 1, 0); FixedMatrix b; std::memcpy(b.m, m, sizeof m); f = multiplyMatrices(f, b); f = multiplyMatrices(f, b); }},
        {"the show's perspective and ortho",
         [] { gluPerspective(45.0f, 16.0f / 9.0f, 0.2f, 1000.0f); glOrtho(0, 1280, 720, 0, -1, 1); },
         [](FixedMatrix& f) { perspectiveMatrix(f, 45.0f, 16.0f / 9.0f, 0.2f, 1000.0f); orthoMatrix(f, 0, 1280, 720, 0, -1, 1); }},
        {"look at, from afar and slanted",
         [] { gluLookAt(12.5f, 130.f, -2000.75f, 0.1f, 3.f, 40.f, 0.2f, 1.f, 0.f); },
         [](FixedMatrix& f) { lookAtMatrix(f, 12.5f, 130.f, -2000.75f, 0.1f, 3.f, 40.f, 0.2f, 1.f, 0.f); }},
    };
    for (const MatrixCase& c : cases) {
        SCOPED_TRACE(c.name);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        c.mesa();
        float expected[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        FixedMatrix ours = identityMatrix();
        c.ours(ours);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(ours.m[i], expected[i]) << "element " << i;
    }

    // A light's position lands in eye space through the modelview, as glLightfv puts it there.
    glLoadIdentity();
    glRotatef(33, 0.2f, 1, 0.4f);
    glTranslatef(3, -4, 5);
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const float position[4] = {0.3f, 0.8f, -0.5f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    float expected[4], ours[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, expected);
    FixedMatrix view;
    std::memcpy(view.m, modelview, sizeof modelview);
    transformPoint(view, position, ours);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ours[i], expected[i]) << "light " << i;
    glLoadIdentity();

    // The inverse undoes the matrix (the driver's own is not readable to compare bit for bit).
    FixedMatrix product = multiplyMatrices(view, invertMatrix(view));
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << "inverse " << i;
}

TEST(WebGlShaders, BuiltinsBecomeTheLayersVariables) {
    struct Row {
        const char* source;
        ShaderStage stage;
        const char* has;       // in the rewritten text
        const char* hasNot;    // nor this
        unsigned builtins;
    } rows[] = {
        {"void main() { gl_Position = ftransform(); }", ShaderStage::Vertex,
         "gl_Position = (ffp_ModelViewProjectionMatrix * ffp_Vertex);", "ftransform", usesModelViewProjection},
        {"uniform mat4 m; void main() { gl_Position = gl_ModelViewMatrixInverse * gl_ModelViewMatrix * gl_Vertex; }",
         ShaderStage::Vertex, "ffp_ModelViewMatrixInverse * ffp_ModelViewMatrix * ffp_Vertex", "gl_Model",
         usesModelViewInverse | usesModelView},
        {"void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_FrontColor = gl_Color; gl_Position = gl_Vertex; }",
         ShaderStage::Vertex, "ffp_TexCoord0 = ffp_MultiTexCoord0; ffp_FrontColor = ffp_Color;", "gl_TexCoord", 0},
        {"void main() { gl_FragColor = gl_Color * gl_TexCoord[0]; }", ShaderStage::Fragment,
         "gl_FragColor = ffp_FrontColor * ffp_TexCoord0;", "gl_Color", 0},
        {"varying vec3 l; void main() { l = gl_NormalMatrix * gl_Normal + gl_LightSource[0].position.xyz; }",
         ShaderStage::Vertex, "ffp_NormalMatrix * ffp_Normal + ffp_LightSource0_position.xyz", "gl_Light",
         usesNormalMatrix | usesLightPositions},
        {"#version 110\nuniform float my_gl_Vertex; void main() { gl_FragColor = vec4(my_gl_Vertex); }",
         ShaderStage::Fragment, "my_gl_Vertex);", "#version 110", 0},
        {"void main() { gl_Position = gl_ProjectionMatrix * gl_ModelViewMatrix * gl_Vertex; }", ShaderStage::Vertex,
         "ffp_ProjectionMatrix * ffp_ModelViewMatrix", "uniform mat4 ffp_InstanceModelView", usesProjection | usesModelView},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        const RewrittenShader rewritten = rewriteShader(row.source, row.stage);
        EXPECT_NE(rewritten.text.find(row.has), std::string::npos) << rewritten.text;
        EXPECT_EQ(rewritten.text.find(row.hasNot), std::string::npos) << rewritten.text;
        EXPECT_EQ(rewritten.builtins, row.builtins);
        EXPECT_EQ(rewritten.text.rfind("#version 100\nprecision highp float;\n", 0), 0u);
    }
    // Only the fixed varyings in use are declared, and in a vertex stage those its fragment
    // stage reads as well.
    const char* plain = "void main() { gl_Position = gl_Vertex; }";
    EXPECT_EQ(rewriteShader(plain, ShaderStage::Vertex).text.find("varying"), std::string::npos);
    const RewrittenShader reads = rewriteShader("void main() { gl_FragColor = gl_TexCoord[1]; }", ShaderStage::Fragment);
    EXPECT_EQ(reads.varyings, texCoordVarying0 << 1);
    const std::string declared = rewriteShader(plain, ShaderStage::Vertex, false, reads.varyings).text;
    EXPECT_NE(declared.find("varying vec4 ffp_TexCoord1;"), std::string::npos);
    EXPECT_EQ(declared.find("ffp_TexCoord0"), std::string::npos);

    // The batched variant takes the modelview per instance and reads no uniform of it.
    const RewrittenShader instanced = rewriteShader(rows[6].source, ShaderStage::Vertex, true);
    EXPECT_NE(instanced.text.find("attribute mat4 ffp_InstanceModelView;"), std::string::npos);
    EXPECT_EQ(instanced.text.find("uniform mat4 ffp_ModelViewMatrix;"), std::string::npos);
    EXPECT_EQ(instanced.builtins, usesProjection);
}

// Compiles and links the rewritten pair as GLSL ES; the empty string when it links.
std::string linkRewritten(const std::string& vertex, const std::string& fragment, bool instanced) {
    // As the layer links: the vertex stage declares the fixed varyings the fragment stage reads.
    const RewrittenShader fragmentStage = rewriteShader(fragment, ShaderStage::Fragment);
    const std::string texts[2] = {rewriteShader(vertex, ShaderStage::Vertex, instanced, fragmentStage.varyings).text,
                                  fragmentStage.text};
    const GLuint program = glCreateProgram();
    std::string log;
    for (int stage = 0; stage < 2; ++stage) {
        const GLuint shader = glCreateShader(stage == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
        const char* text = texts[stage].c_str();
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        GLint compiled = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        char info[1024] = {};
        glGetShaderInfoLog(shader, sizeof info, nullptr, info);
        if (compiled != GL_TRUE) log += std::string(stage == 0 ? "vertex: " : "fragment: ") + info + "\n" + texts[stage];
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    char info[1024] = {};
    glGetProgramInfoLog(program, sizeof info, nullptr, info);
    if (linked != GL_TRUE) log += std::string("link: ") + info;
    glDeleteProgram(program);
    return log;
}

TEST(WebGlShaders, EveryProgramOfTheShowLinksRewritten) {
    ASSERT_TRUE(requireGlContext());
    const ShaderPair* dataSet[] = {&blurShader,        &dofPreprocShader,  &dofCombineShader, &skyShader,
                                   &ridgeShader,       &terrainSandShader, &terrainWallShader, &terrainPeakShader,
                                   &flameShader,       &hullShader,        &ballShader,        &wormPlateShader,
                                   &wormHeadShader,    &wormEyeShader,     &cannonShader,      &shellShader};
    for (const ShaderPair* pair : dataSet) {
        EXPECT_EQ(linkRewritten(pair->vertex, pair->fragment, false), "");
        EXPECT_EQ(linkRewritten(pair->vertex, pair->fragment, true), "");
    }
    for (const ShaderSources& builtIn : builtInShaderSources) {
        EXPECT_EQ(linkRewritten(builtIn.vertex, builtIn.fragment, false), "");
        EXPECT_EQ(linkRewritten(builtIn.vertex, builtIn.fragment, true), "");
    }
}

}  // namespace
