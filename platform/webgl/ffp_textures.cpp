// Texture uploads in the formats WebGL 2 stores: the desktop's component counts and
// RGB-as-RGBA uploads become RGBA8 with an opaque alpha, mipmaps come from glGenerateMipmap,
// and an RGB read-back is packed from WebGL's RGBA.
#include "platform/webgl/ffp_context.h"

#include <vector>

namespace {

int componentsOf(GLenum format) {
    switch (format) {
        case GL_RGBA: return 4;
        case GL_RGB: return 3;
        case GL_LUMINANCE_ALPHA: return 2;
        default: return 1;
    }
}

bool storesAlpha(GLint internalFormat) {
    return internalFormat == 4 || internalFormat == GL_RGBA || internalFormat == GL_RGBA8 ||
           internalFormat == 2 || internalFormat == GL_LUMINANCE_ALPHA;
}

// Rows packed as GL_UNPACK_ALIGNMENT says, into tightly packed RGBA.
std::vector<unsigned char> toRgba(const unsigned char* pixels, GLsizei width, GLsizei height, GLenum format,
                                  bool keepAlpha) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    const int components = componentsOf(format);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    for (GLsizei y = 0; y < height; ++y) {
        const unsigned char* in = pixels + stride * y;
        unsigned char* out = &rgba[static_cast<std::size_t>(y) * width * 4];
        for (GLsizei x = 0; x < width; ++x, in += components, out += 4) {
            if (components >= 3) {
                out[0] = in[0], out[1] = in[1], out[2] = in[2];
                out[3] = components == 4 && keepAlpha ? in[3] : 255;
            } else {
                out[0] = out[1] = out[2] = in[0];
                out[3] = components == 2 && keepAlpha ? in[1] : 255;
            }
        }
    }
    return rgba;
}

}  // namespace

extern "C" {

void ffpTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void* pixels) {
    ffpFlushBatch();
    // Render targets ask for 16-bit RGB; the desktop driver keeps 8 bits a channel as well.
    if (pixels == nullptr || type != GL_UNSIGNED_BYTE) {
        glTexImage2D(target, level, GL_RGBA8, width, height, border, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        return;
    }
    const std::vector<unsigned char> rgba =
        toRgba(static_cast<const unsigned char*>(pixels), width, height, format, storesAlpha(internalFormat));
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(target, level, GL_RGBA8, width, height, border, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

GLint gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                        const void* data) {
    ffpTexImage2D(target, 0, components, width, height, 0, format, type, data);
    // A cube face cannot make its own levels; the show samples cube maps without them.
    if (target == GL_TEXTURE_2D) glGenerateMipmap(GL_TEXTURE_2D);
    return 0;
}

void ffpReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels) {
    ffpFlushBatch();
    if (format != GL_RGB || type != GL_UNSIGNED_BYTE) {
        glReadPixels(x, y, width, height, format, type, pixels);
        return;
    }
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    auto* out = static_cast<unsigned char*>(pixels);
    for (GLsizei row = 0; row < height; ++row)
        for (GLsizei column = 0; column < width; ++column)
            for (int c = 0; c < 3; ++c)
                out[stride * row + column * 3 + c] = rgba[(static_cast<std::size_t>(row) * width + column) * 4 + c];
}

}  // extern "C"
