// Writing dotXSI text in the layout the show's reader relies on: one value or template header per
// line, one tab per nesting level, closing braces alone on their lines, GLSL sources whose lines
// never start at the left edge.
#pragma once

#include <string>
#include <vector>

#include "tools/datagen/meshes.h"

struct MaterialUniformSpec {
    std::string name;
    float value[4];
};

struct MaterialTextureSpec {
    std::string uniformName;
    std::string imageName;  // an XSI_Image of the same file
};

struct MaterialCubeSpec {
    std::string uniformName;
    std::string faceImages[6];  // left, right, top, bottom, back, front
};

struct MaterialSpec {
    std::string name;
    std::string vertexSource;  // GLSL 1.10, no version line
    std::string fragmentSource;
    std::vector<MaterialUniformSpec> uniforms;
    std::vector<MaterialTextureSpec> textures;
    std::vector<MaterialCubeSpec> cubeMaps;
};

struct ImageSpec {
    std::string name;
    std::string path;  // as the exporting machine wrote it; only the file name counts
    int width;
    int height;
};

// Light type codes of SI_Light: 0 point, 2 spot, 3 infinite (directional).
struct LightSpec {
    std::string name;
    int typeCode;
    Vec3 position;
    Vec3 interest;  // where a directional light points to
    Vec3 colour;
};

class XsiWriter {
public:
    XsiWriter();

    // "header {" at the current depth, then one level deeper.
    void open(const std::string& header);
    // "}" one level up.
    void close();
    void line(const std::string& text);
    void number(float value);
    void integer(long value);
    void quoted(const std::string& text);

    void materialLibrary(const std::string& name, const std::vector<MaterialSpec>& materials);
    void imageLibrary(const std::vector<ImageSpec>& images);
    void transform(const std::string& name, Vec3 scale, Vec3 rotationDegrees, Vec3 translation);
    void identityTransform(const std::string& name);
    // SI_Mesh with its shape and one triangle list on one material.
    void mesh(const std::string& name, const MeshData& mesh, const std::string& materialName);
    void light(const LightSpec& light);

    // All blocks closed and every line within what the reader takes; otherwise the first problem.
    const std::string& problem() const { return problem_; }
    const std::string& text() const { return text_; }

    // False after a message on stderr when the text is not sound or cannot be written.
    bool save(const std::string& path) const;

private:
    void raw(const std::string& text);
    void glslSource(const char* parameter, const std::string& source);
    void fail(const std::string& what);
    void checkFinite(float value);

    std::string text_;
    int depth_ = 0;
    std::string problem_;
};
