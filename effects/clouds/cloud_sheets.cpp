// Cloud and haze sheets.
#include "effects/clouds/cloud_sheets.h"

#include <GL/glew.h>

#include <optional>

#include "effects/clouds/cloud_flight_path.h"
#include "effects/clouds/cloud_resources.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/shader_library.h"

void drawCloudQuad(float alpha, float x, float y, float z, float halfSize) {
    // The sheets stay clouds in the silhouette pass, so the glow shows them too.
    Material* const savedOverride = overrideMaterial;
    overrideMaterial = nullptr;
    Material& dim = builtInMaterial(TexturedDim);
    setTextureSlot(dim.findTexture("tex"), cloudTexture);
    setUniformValue(dim.findUniform("alpha"), alpha, 0, 0, 0);
    dim.apply();

    glDepthMask(GL_FALSE);
    enableCap(GL_DEPTH_TEST);  // the material switched it off
    setBlendMode(BlendMode::Darken);
    setCullMode(CullMode::Off);
    pushMatrix();
    translate(x, y, z);
    const float h = halfSize;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-h, 0, h);
    glTexCoord2f(1, 0);
    glVertex3f(h, 0, h);
    glTexCoord2f(1, 1);
    glVertex3f(h, 0, -h);
    glTexCoord2f(0, 1);
    glVertex3f(-h, 0, -h);
    glEnd();
    popMatrix();

    setBlendMode(BlendMode::Off);
    glDepthMask(GL_TRUE);
    setCullMode(CullMode::Back);
    enableCap(GL_DEPTH_TEST);
    releaseMaterial(&dim);
    overrideMaterial = savedOverride;
}

void drawHazeSheets(float eyeZ, int now) {
    Material* const savedOverride = overrideMaterial;
    overrideMaterial = nullptr;
    Material& dim = builtInMaterial(TexturedDim);
    // Set here rather than relying on the cloud sheets having drawn before.
    setTextureSlot(dim.findTexture("tex"), cloudTexture);
    MaterialUniform* alphaSlot = dim.findUniform("alpha");
    for (int i = hazeSheetFarthest; i >= hazeSheetNearest; --i) {
        const std::optional<HazeSheet> sheet = hazeSheet(i, eyeZ, now);
        if (!sheet) continue;
        pushMatrix();
        translate(0, 0, static_cast<float>(i));
        rotate(sheet->turnDegrees, 0, 0, 1);
        setUniformValue(alphaSlot, sheet->alpha, 0, 0, 0);
        setBlendMode(BlendMode::Darken);
        dim.apply();
        const float u = sheet->scroll, s = sheet->size;
        glBegin(GL_QUADS);
        glTexCoord2f(u, 0);
        glVertex3f(-s, s, 0);
        glTexCoord2f(u + 1.0f, 0);
        glVertex3f(s, s, 0);
        glTexCoord2f(u + 1.0f, 1);
        glVertex3f(s, -s, 0);
        glTexCoord2f(u, 1);
        glVertex3f(-s, -s, 0);
        glEnd();
        popMatrix();
        releaseMaterial(&dim);
    }
    overrideMaterial = savedOverride;
}
