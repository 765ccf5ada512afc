// A null OpenGL for fuzz targets: every GL, GLU and GLEW entry point the loaders reach, doing
// nothing but handing out names, so the loaders run without a window or a driver. Linked in
// place of libGL, libGLU and libGLEW.
#include <GL/glew.h>
#include <GL/glu.h>

namespace {

GLuint nextName = 1;

GLuint GLAPIENTRY nullCreate() { return nextName++; }
GLuint GLAPIENTRY nullCreateShader(GLenum) { return nextName++; }
void GLAPIENTRY nullShaderSource(GLuint, GLsizei, const GLchar* const*, const GLint*) {}
void GLAPIENTRY nullUint(GLuint) {}
void GLAPIENTRY nullEnum(GLenum) {}
void GLAPIENTRY nullAttach(GLuint, GLuint) {}
void GLAPIENTRY nullInfoLog(GLuint, GLsizei size, GLsizei* length, GLchar* log) {
    if (length != nullptr) *length = 0;
    if (log != nullptr && size > 0) log[0] = '\0';
}
void GLAPIENTRY nullGetProgramiv(GLuint, GLenum, GLint* value) { *value = 0; }
GLint GLAPIENTRY nullUniformLocation(GLhandleARB, const GLcharARB*) { return -1; }
void GLAPIENTRY nullUniform1i(GLint, GLint) {}
void GLAPIENTRY nullUniform4f(GLint, GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY nullActiveUniform(GLuint, GLuint, GLsizei, GLsizei* length, GLint* size, GLenum* type, GLchar* name) {
    if (length != nullptr) *length = 0;
    if (size != nullptr) *size = 0;
    if (type != nullptr) *type = 0;
    if (name != nullptr) name[0] = '\0';
}

}  // namespace

PFNGLACTIVETEXTUREARBPROC __glewActiveTextureARB = nullEnum;
PFNGLATTACHSHADERPROC __glewAttachShader = nullAttach;
PFNGLCOMPILESHADERPROC __glewCompileShader = nullUint;
PFNGLCREATEPROGRAMPROC __glewCreateProgram = nullCreate;
PFNGLCREATESHADERPROC __glewCreateShader = nullCreateShader;
PFNGLGETACTIVEUNIFORMPROC __glewGetActiveUniform = nullActiveUniform;
PFNGLGETPROGRAMINFOLOGPROC __glewGetProgramInfoLog = nullInfoLog;
PFNGLGETPROGRAMIVPROC __glewGetProgramiv = nullGetProgramiv;
PFNGLGETSHADERINFOLOGPROC __glewGetShaderInfoLog = nullInfoLog;
PFNGLGETUNIFORMLOCATIONARBPROC __glewGetUniformLocationARB = nullUniformLocation;
PFNGLLINKPROGRAMPROC __glewLinkProgram = nullUint;
PFNGLSHADERSOURCEPROC __glewShaderSource = nullShaderSource;
PFNGLUNIFORM1IPROC __glewUniform1i = nullUniform1i;
PFNGLUNIFORM4FARBPROC __glewUniform4fARB = nullUniform4f;
PFNGLUSEPROGRAMPROC __glewUseProgram = nullUint;

extern "C" {

void GLAPIENTRY glBegin(GLenum) {}
void GLAPIENTRY glEnd() {}
void GLAPIENTRY glBindTexture(GLenum, GLuint) {}
void GLAPIENTRY glBlendFunc(GLenum, GLenum) {}
void GLAPIENTRY glCallList(GLuint) {}
void GLAPIENTRY glClear(GLbitfield) {}
void GLAPIENTRY glClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glCullFace(GLenum) {}
void GLAPIENTRY glDisable(GLenum) {}
void GLAPIENTRY glEnable(GLenum) {}
void GLAPIENTRY glEndList() {}
GLuint GLAPIENTRY glGenLists(GLsizei range) {
    const GLuint first = nextName;
    nextName += static_cast<GLuint>(range);
    return first;
}
void GLAPIENTRY glGenTextures(GLsizei count, GLuint* names) {
    for (GLsizei i = 0; i < count; ++i) names[i] = nextName++;
}
void GLAPIENTRY glGetFloatv(GLenum, GLfloat* values) {
    for (int i = 0; i < 16; ++i) values[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}
void GLAPIENTRY glLoadIdentity() {}
void GLAPIENTRY glMatrixMode(GLenum) {}
void GLAPIENTRY glNewList(GLuint, GLenum) {}
void GLAPIENTRY glNormal3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glPixelStorei(GLenum, GLint) {}
void GLAPIENTRY glPopMatrix() {}
void GLAPIENTRY glPushMatrix() {}
void GLAPIENTRY glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glScalef(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glTexCoord2f(GLfloat, GLfloat) {}
void GLAPIENTRY glTexGeni(GLenum, GLenum, GLint) {}
void GLAPIENTRY glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) {}
void GLAPIENTRY glTexParameteri(GLenum, GLenum, GLint) {}
void GLAPIENTRY glTranslatef(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glVertex3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glViewport(GLint, GLint, GLsizei, GLsizei) {}
GLint GLAPIENTRY gluBuild2DMipmaps(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) { return 0; }
void GLAPIENTRY gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}

}  // extern "C"
