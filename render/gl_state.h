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

// gluLookAt onto the modelview matrix, which is then kept in demoState.viewMatrix for lighting.
void setCamera(float eyeX, float eyeY, float eyeZ, float centreX, float centreY, float centreZ,
               float upX, float upY, float upZ);

// 0 off; 1 alpha-saturate, 2 darken by source colour, 3 alpha blend, 4 additive by alpha;
// 5 and above: on with the factors left as they were.
void setBlendMode(int mode);

// 0 off; 1 back faces, 2 front faces; other values: on, culled face unchanged.
void setCullMode(int mode);

// 2D texturing on, cube mapping and texture-coordinate generation off, then bind.
void bindTexture2D(unsigned glTextureName);

// Cube mapping with generated coordinates on, 2D texturing off, then bind.
void bindCubeMapTexture(unsigned glTextureName);
