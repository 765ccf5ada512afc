// The dotXSI writer. Numbers are written with "%f", so the text is the same on every run.
#include "tools/datagen/xsi_writer.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The reader holds 255 characters of a line.
constexpr std::size_t longestLine = 255;

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            if (at < text.size()) lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

std::string firstWord(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    const std::size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

XsiWriter::XsiWriter() { raw("xsi 0300txt 0032"); }

void XsiWriter::fail(const std::string& what) {
    if (problem_.empty()) problem_ = what;
}

void XsiWriter::raw(const std::string& text) {
    if (text.size() > longestLine) fail("line longer than the reader takes: " + text.substr(0, 40) + "...");
    text_ += text;
    text_ += '\n';
}

void XsiWriter::line(const std::string& text) { raw(std::string(static_cast<std::size_t>(depth_), '\t') + text); }

void XsiWriter::open(const std::string& header) {
    line(header + " {");
    ++depth_;
}

void XsiWriter::close() {
    if (depth_ == 0) {
        fail("closing a block that is not open");
        return;
    }
    --depth_;
    line("}");
}

void XsiWriter::number(float value) {
    checkFinite(value);
    line(format("%f,", value));
}

void XsiWriter::checkFinite(float value) {
    if (!std::isfinite(value)) fail("a value that is not a number");
}

void XsiWriter::integer(long value) { line(std::to_string(value) + ","); }

void XsiWriter::quoted(const std::string& text) { line("\"" + text + "\","); }

void XsiWriter::glslSource(const char* parameter, const std::string& source) {
    // The first source line is whatever follows the parameter's second comma, joined to the next
    // line without a line feed: leave it empty and start the program on the lines below.
    std::string header = "\"";
    header += parameter;
    header += "\",\"Text\",\"";
    line(header);
    for (const std::string& text : splitLines(source)) {
        if (text.find('"') != std::string::npos) fail(std::string("a quote inside GLSL: ") + text);
        const std::string word = firstWord(text);
        if (word == "\"," || word == "}\",") fail("a GLSL line the reader takes for the end of the source: " + text);
        // Indented like everything at this depth, so a brace never stands alone at the left edge.
        line(text);
    }
    line("\",");
}

void XsiWriter::materialLibrary(const std::string& name, const std::vector<MaterialSpec>& materials) {
    open("SI_MaterialLibrary " + name);
    integer(static_cast<long>(materials.size()));
    for (const MaterialSpec& m : materials) {
        open("XSI_Material " + m.name);
        // The program first: no uniform or texture block may be open while its lines are read.
        open("XSI_Shader GLSLProgram");
        quoted("Softimage.GLSLProgram.1");
        glslSource("GLSL_Program", m.vertexSource);
        glslSource("GLSL_ProgramF", m.fragmentSource);
        close();
        for (const MaterialUniformSpec& u : m.uniforms) {
            open("XSI_Shader Uniform-" + u.name);
            quoted("Softimage.GLSLUniform.1");
            line("\"Variable\",\"Text\",\"" + u.name + "\",");
            for (int i = 0; i < 4; ++i) {
                checkFinite(u.value[i]);
                line(std::string("\"element") + static_cast<char>('0' + i) + "\",\"Float\"," +
                     format("%f,", u.value[i]));
            }
            close();
        }
        for (const MaterialTextureSpec& t : m.textures) {
            open("XSI_Shader Texture-" + t.uniformName);
            quoted("Softimage.OGL13Texture.1");
            line("\"UniformName\",\"Text\",\"" + t.uniformName + "\",");
            line("\"Image\",\"" + t.imageName + "\",\"IMAGE\",");
            close();
        }
        for (const MaterialCubeSpec& c : m.cubeMaps) {
            open("XSI_Shader Cube-" + c.uniformName);
            quoted("Softimage.OGL13CubicTexture.1");
            line("\"UniformName\",\"Text\",\"" + c.uniformName + "\",");
            static const char* const faces[6] = {"left", "right", "top", "bottom", "back", "front"};
            for (int f = 0; f < 6; ++f)
                line(std::string("\"") + faces[f] + "\",\"" + c.faceImages[f] + "\",\"IMAGE\",");
            close();
        }
        close();
    }
    close();
}

void XsiWriter::imageLibrary(const std::vector<ImageSpec>& images) {
    open("XSI_ImageLibrary");
    integer(static_cast<long>(images.size()));
    for (const ImageSpec& image : images) {
        if (image.path.size() > 79) fail("image path longer than the reader keeps: " + image.path);
        open("XSI_Image " + image.name);
        quoted(image.path);
        integer(image.width);
        integer(image.height);
        close();
    }
    close();
}

void XsiWriter::transform(const std::string& name, Vec3 scale, Vec3 rotationDegrees, Vec3 translation) {
    open("SI_Transform " + name);
    for (const Vec3& v : {scale, rotationDegrees, translation}) {
        number(v.x);
        number(v.y);
        number(v.z);
    }
    close();
}

void XsiWriter::identityTransform(const std::string& name) { transform(name, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}); }

void XsiWriter::mesh(const std::string& name, const MeshData& mesh, const std::string& materialName) {
    char entry[160];
    open("SI_Mesh MSH-" + name);
    open("SI_Shape SHP-" + name);
    integer(3);
    quoted("ORDERED");
    integer(static_cast<long>(mesh.positions.size()));
    quoted("POSITION");
    for (const Vec3& p : mesh.positions) {
        for (const float v : {p.x, p.y, p.z}) checkFinite(v);
        std::snprintf(entry, sizeof entry, "%f,%f,%f,", p.x, p.y, p.z);
        line(entry);
    }
    integer(static_cast<long>(mesh.normals.size()));
    quoted("NORMAL");
    for (const Vec3& n : mesh.normals) {
        for (const float v : {n.x, n.y, n.z}) checkFinite(v);
        std::snprintf(entry, sizeof entry, "%f,%f,%f,", n.x, n.y, n.z);
        line(entry);
    }
    integer(static_cast<long>(mesh.uvs.size()));
    quoted("TEX_COORD_UV0");
    quoted("Texture_Projection");
    // The reader turns v into 1 - v; writing 1 - t gives the shaders t back.
    for (const Vec2& uv : mesh.uvs) {
        for (const float v : {uv.x, uv.y}) checkFinite(v);
        std::snprintf(entry, sizeof entry, "%f,%f,", uv.x, 1.0f - uv.y);
        line(entry);
    }
    close();
    open("SI_TriangleList TRI-" + name);
    integer(static_cast<long>(mesh.triangles.size()));
    quoted("NORMAL|TEX_COORD_UV0");
    quoted(materialName);
    raw("");
    // Positions, normals and texture coordinates share their indices.
    for (int section = 0; section < 3; ++section) {
        if (section > 0) raw("");
        for (const auto& t : mesh.triangles) {
            std::snprintf(entry, sizeof entry, "%d,%d,%d,", t[0], t[1], t[2]);
            line(entry);
        }
    }
    close();
    close();
}

void XsiWriter::light(const LightSpec& light) {
    open("SI_Light " + light.name);
    integer(light.typeCode);
    number(light.position.x);
    number(light.position.y);
    number(light.position.z);
    if (light.typeCode == 3) {
        // Six more values that only directional lights carry.
        number(light.interest.x);
        number(light.interest.y);
        number(light.interest.z);
    }
    number(light.colour.x);
    number(light.colour.y);
    number(light.colour.z);
    // The reader ends a light after two closing braces: its inner block's and its own.
    open("SI_LightInfo LINF-" + light.name);
    quoted(light.typeCode == 2 ? "spot" : light.typeCode == 3 ? "directional" : "point");
    number(1.0f);
    close();
    close();
}

bool XsiWriter::save(const std::string& path) const {
    std::string problem = problem_;
    if (problem.empty() && depth_ != 0) problem = "a block is still open";
    if (!problem.empty()) {
        std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), problem.c_str());
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(text_.data(), 1, text_.size(), file) == text_.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
