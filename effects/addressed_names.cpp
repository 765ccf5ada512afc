// The names the scenes look up.
#include "effects/addressed_names.h"

#include <cstring>
#include <iterator>
#include <string>

#include "base/print_line.h"
#include "base/problem_detail.h"
#include "effects/cannon/cannon_resources.h"
#include "effects/common/post_process.h"
#include "effects/common/scene_resources.h"
#include "render/material.h"
#include "render/shader_library.h"
#include "render/shader_program.h"
#include "scene/scene_draw.h"
#include "xsi/xsi_materials.h"

namespace {

constexpr const char* unanimated = "it is drawn without the values the show sets each frame";

}  // namespace

const AddressedName addressedNames[] = {
    {"data\\bg.xsi", &bgScene, "mountains", "params", unanimated},
    {"data\\maasto.xsi", &maastoScene, "mountain_peaks", "cloudParams", unanimated},
    {"data\\maasto.xsi", &maastoScene, "walls", "cloudParams", unanimated},
    {"data\\maasto.xsi", &maastoScene, "big_sand", "cloudParams", unanimated},
    {"data\\flame.xsi", &flameScene, "flames", "params", unanimated},
    {"data\\flame.xsi", &flameScene, "flames", "uvShift", unanimated},
    {"data\\flame2.xsi", &flame2Scene, "flames", "params", unanimated},
    {"data\\flame2.xsi", &flame2Scene, "flames", "uvShift", unanimated},
    {"data\\tykki.xsi", &tykkiScene, "diffuse_cubemap", "params", unanimated},
    {"data\\postproc.XSI", &postScene, "blur", nullptr, "the blur passes are left out"},
    {"data\\postproc.XSI", &postScene, "dof_preproc", "params", "slot 2 and 3 leave out the depth-of-field pre-pass"},
    {"data\\postproc.XSI", &postScene, "dof_combine", nullptr, "slot 2 shows its sharp picture without depth of field"},
};

const int addressedNameCount = static_cast<int>(std::size(addressedNames));

const ProgramUniforms programUniforms[] = {
    {"data\\postproc.XSI", "blur", "params, texture0"},
    {"data\\postproc.XSI", "dof_combine", "alpha, texture0, texture1"},
};

const int programUniformCount = static_cast<int>(std::size(programUniforms));

namespace {

bool passSets(const char* file, const char* material, const std::string& uniform) {
    for (const ProgramUniforms& pass : programUniforms) {
        if (problemPath(pass.file) != file || std::strstr(material, pass.material) == nullptr) continue;
        const std::string list = std::string(", ") + pass.uniforms + ",";
        if (list.find(", " + uniform + ",") != std::string::npos) return true;
    }
    return false;
}

bool materialSets(const Material& material, const std::string& uniform) {
    if (material.findUniform(uniform.c_str()) != nullptr) return true;
    for (const auto& texture : material.textures)
        if (uniform == texture->uniformName) return true;
    for (const auto& cube : material.cubeTextures)
        if (uniform == cube->uniformName) return true;
    return false;
}

}  // namespace

int reportUnsetUniforms() {
    int unset = 0;
    for (const auto& material : shaderLibrary.materials) {
        const char* file = xsiMaterialFile(material.get());
        if (file == nullptr) continue;  // a built-in, set by its own code
        for (const ActiveUniform& uniform : activeUniforms(material->program)) {
            if (materialSets(*material, uniform.name) || passSets(file, material->name, uniform.name)) continue;
            reportDataProblem("Scene file %s, material %s: its GLSL program uses uniform \"%s\" (a %s), which no "
                              "uniform block, texture slot or pass sets, so its value stays 0.",
                              file, material->name, uniform.name.c_str(), uniformKindName(uniform.kind));
            ++unset;
        }
    }
    return unset;
}

int reportMissingNames() {
    int missing = 0;
    const AddressedName* previous = nullptr;
    for (const AddressedName& name : addressedNames) {
        const Material* material = findSceneMaterial(*name.scene, name.material);
        // A material with two slots is missing once.
        const bool sameMaterial = previous != nullptr && previous->scene == name.scene &&
                                  std::strcmp(previous->material, name.material) == 0;
        previous = &name;
        if (material == nullptr) {
            if (sameMaterial) continue;
            reportDataProblem("Scene file %s has no material \"%s\": %s.", problemPath(name.file).c_str(),
                              name.material, name.without);
            ++missing;
        } else if (name.uniform != nullptr && material->findUniform(name.uniform) == nullptr) {
            reportDataProblem("Scene file %s: material \"%s\" has no uniform \"%s\": %s.",
                              problemPath(name.file).c_str(), name.material,
                              name.uniform, name.without);
            ++missing;
        }
    }
    return missing;
}
