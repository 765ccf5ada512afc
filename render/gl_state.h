// The free functions through which the show changes fixed-pipeline OpenGL state: forwards, the
// numbered blend and cull modes, exclusive 2D/cube-map texture binding and the camera.
#pragma once

void setViewport(float x, float y, float width, float height);  // truncated toward zero
void setClearColor(float r, float g, float b);
void clearBuffers(unsigned mask);
void enableCap(unsigned capability);
void disableCap(unsigned capability);
void pushMatrix();
void popMatrix();
void translate(float x, float y, float z);
void rotate(float angleDegrees, float x, float y, float z);
void scale(float x, float y, float z);
void loadIdentity();
void resetModelview();  // leaves the modelview matrix current

// Projection matrix from gluPerspective; leaves the projection matrix current.
void setPerspective(float fieldOfViewDegrees, float aspect, float nearPlane, float farPlane);

// gluLookAt onto the modelview matrix, which is then kept in renderDestinations.viewMatrix for
// the scene lights.
void setCamera(float eyeX, float eyeY, float eyeZ, float centreX, float centreY, float centreZ,
               float upX, float upY, float upZ);

// Blending by number, as the scenes were written: the values are the modes' numbers.
enum class BlendMode {
    Off = 0,            // blending off, factors left as they were
    AlphaSaturate = 1,  // source alpha saturate, one minus source alpha
    Darken = 2,         // zero, one minus source colour: darkens by the source colour
    Alpha = 3,          // source alpha, one minus source alpha: ordinary alpha blending
    Additive = 4,       // source alpha, one: adds the source weighted by its alpha
    KeepFactors = 5,    // on with the factors of the last mode that set them (so is any higher number)
};

enum class CullMode {
    Off = 0,
    Back = 1,
    Front = 2,
    KeepFace = 3,  // on with the face chosen last (so is any higher number)
};

void setBlendMode(BlendMode mode);
void setCullMode(CullMode mode);

// 2D texturing on, cube mapping and texture-coordinate generation off, then bind.
void bindTexture2D(unsigned glTextureName);

// Cube mapping with generated coordinates on, 2D texturing off, then bind.
void bindCubeMapTexture(unsigned glTextureName);
