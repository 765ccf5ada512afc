// The OpenGL 2.0 of the show, in a browser: WebGL 2's own entry points, and the GL layer
// (platform/webgl/) for what WebGL lacks: the matrix stacks, immediate mode, display lists, the
// fixed-function switches, GLU, the EXT and ARB names and the GLSL built-ins. Only the web build
// has this folder on its include path; the desktop build includes the system's GLEW.
#pragma once

#include <GLES3/gl3.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef double GLdouble;

// ---- GLEW -----------------------------------------------------------------------------------
#define GLEW_OK 0
#define GLEW_ERROR_NO_GLX_DISPLAY 4
GLenum glewInit(void);
GLboolean glewIsSupported(const char* name);

// ---- enums of the fixed pipeline ------------------------------------------------------------
#define GL_QUADS 0x0007
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_COMPILE 0x1300
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_LIGHT7 0x4007
#define GL_POSITION 0x1203
#define GL_NORMALIZE 0x0BA1
#define GL_FOG 0x0B60
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_TEXTURE_GEN_R 0x0C62
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_R 0x2002
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_REFLECTION_MAP 0x8512
#define GL_ALL_ATTRIB_BITS 0xFFFFFFFF
#define GL_CLIENT_PIXEL_STORE_BIT 0x00000001
#define GL_TEXTURE_1D 0x0DE0
#define GL_ALPHA_TEST 0x0BC0
#define GL_COLOR_SUM 0x8458
#define GL_COLOR_LOGIC_OP 0x0BF2
#define GL_MAX_TEXTURE_COORDS 0x8871
#define GL_FRAMEBUFFER_EXT GL_FRAMEBUFFER
#define GL_RENDERBUFFER_EXT GL_RENDERBUFFER
#define GL_COLOR_ATTACHMENT0_EXT GL_COLOR_ATTACHMENT0
#define GL_DEPTH_ATTACHMENT_EXT GL_DEPTH_ATTACHMENT
#define GL_FRAMEBUFFER_COMPLETE_EXT GL_FRAMEBUFFER_COMPLETE

// ---- the layer's fixed pipeline -------------------------------------------------------------
void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glLoadMatrixf(const GLfloat* m);
void glMultMatrixf(const GLfloat* m);
void glPushMatrix(void);
void glPopMatrix(void);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glScalef(GLfloat x, GLfloat y, GLfloat z);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearPlane, GLdouble farPlane);
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
               GLdouble upX, GLdouble upY, GLdouble upZ);

void glBegin(GLenum mode);
void glEnd(void);
void glVertex2i(GLint x, GLint y);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glTexCoord2f(GLfloat s, GLfloat t);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glColor3f(GLfloat r, GLfloat g, GLfloat b);
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

GLuint glGenLists(GLsizei range);
void glNewList(GLuint list, GLenum mode);
void glEndList(void);
void glCallList(GLuint list);

void glLightfv(GLenum light, GLenum name, const GLfloat* values);
void glTexGeni(GLenum coordinate, GLenum name, GLint value);
void glPushAttrib(GLbitfield mask);
void glPopAttrib(void);
void glWindowPos2i(GLint x, GLint y);
// Pixels drawn by the window system's raster position: the authoring mode's, which the browser
// does not run; they draw nothing here.
void glPushClientAttrib(GLbitfield mask);
void glPopClientAttrib(void);
void glPixelZoom(GLfloat x, GLfloat y);
void glDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels);
GLint gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                        const void* data);

// ---- WebGL 2 calls the layer stands between ---------------------------------------------------
// Switches of the fixed pipeline are kept as state; draws see the matrices; shader text is
// rewritten; texture formats are mapped onto what WebGL 2 stores.
void ffpEnable(GLenum capability);
void ffpDisable(GLenum capability);
void ffpUseProgram(GLuint program);
GLuint ffpCreateShader(GLenum type);
void ffpShaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths);
void ffpLinkProgram(GLuint program);
GLint ffpGetUniformLocation(GLuint program, const GLchar* name);
void ffpUniform1i(GLint location, GLint value);
void ffpUniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
void ffpGetFloatv(GLenum name, GLfloat* values);
void ffpTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void* pixels);
void ffpReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
void ffpBindFramebuffer(GLenum target, GLuint framebuffer);
void ffpBindTexture(GLenum target, GLuint texture);
void ffpActiveTexture(GLenum unit);
void ffpBlendFunc(GLenum source, GLenum destination);
void ffpDepthMask(GLboolean flag);
void ffpCullFace(GLenum face);
void ffpViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void ffpClear(GLbitfield mask);
void ffpFinish(void);
void ffpFlush(void);
void ffpTexParameteri(GLenum target, GLenum name, GLint value);
void ffpFramebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture, GLint level);
void ffpFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer);

#ifdef __cplusplus
}
#endif

// The layer's own files call WebGL by its names.
#ifndef FFP_LAYER_IMPLEMENTATION
#define glEnable ffpEnable
#define glDisable ffpDisable
#define glUseProgram ffpUseProgram
#define glCreateShader ffpCreateShader
#define glShaderSource ffpShaderSource
#define glLinkProgram ffpLinkProgram
#define glGetUniformLocation ffpGetUniformLocation
#define glUniform1i ffpUniform1i
#define glUniform4f ffpUniform4f
#define glGetFloatv ffpGetFloatv
#define glTexImage2D ffpTexImage2D
#define glReadPixels ffpReadPixels
#define glBindFramebuffer ffpBindFramebuffer
#define glBindTexture ffpBindTexture
#define glActiveTexture ffpActiveTexture
#define glBlendFunc ffpBlendFunc
#define glDepthMask ffpDepthMask
#define glCullFace ffpCullFace
#define glViewport ffpViewport
#define glClear ffpClear
#define glFinish ffpFinish
#define glFlush ffpFlush
#define glTexParameteri ffpTexParameteri
#define glFramebufferTexture2D ffpFramebufferTexture2D
#define glFramebufferRenderbuffer ffpFramebufferRenderbuffer

// The extension names are core in WebGL 2.
#define glGenFramebuffersEXT glGenFramebuffers
#define glBindFramebufferEXT ffpBindFramebuffer
#define glFramebufferTexture2DEXT ffpFramebufferTexture2D
#define glFramebufferRenderbufferEXT ffpFramebufferRenderbuffer
#define glCheckFramebufferStatusEXT glCheckFramebufferStatus
#define glGenRenderbuffersEXT glGenRenderbuffers
#define glBindRenderbufferEXT glBindRenderbuffer
#define glRenderbufferStorageEXT glRenderbufferStorage
#define glActiveTextureARB ffpActiveTexture
#define glGetUniformLocationARB ffpGetUniformLocation
#define glUniform4fARB ffpUniform4f
#endif
