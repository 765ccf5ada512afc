// What a data set must hold.
#include "effects/needed_names.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>

#include "base/data_file.h"
#include "effects/addressed_names.h"

// In the order start-up reads them.
const NeededFile neededFiles[] = {
    {"data/cloudy.jpg", "image", "slot 1's cloud layers"},
    {"data\\normimap.xsi", "scene file", "the first top-level SI_Model is drawn: the flame carrier"},
    {"data\\maasto.xsi", "scene file", "the first top-level SI_Model is drawn: one terrain tile, 123 units along z"},
    {"data\\bg.xsi", "scene file", "the first top-level SI_Model is drawn: the sky dome"},
    {"data\\mountains.xsi", "scene file", "the first top-level SI_Model is drawn: the mountain ring"},
    {"data\\flame.xsi", "scene file", "the first top-level SI_Model is drawn: the carrier's first flame"},
    {"data\\flame2.xsi", "scene file", "the first top-level SI_Model is drawn: the carrier's second flame"},
    {"data\\lights.xsi", "scene file", "the SI_Light models of its first top-level SI_Model light the scenes"},
    {"data\\particle.jpg", "image", "dust and sparks"},
    {"data\\flare.jpg", "image", "loaded, not drawn"},
    {"data\\ball.xsi", "scene file", "the first top-level SI_Model is drawn: the ball"},
    {"data\\worm.xsi", "scene file", "the first top-level SI_Model is drawn: a worm's body piece"},
    {"data\\wormhead.xsi", "scene file", "the first top-level SI_Model is drawn: a worm's head"},
    {"data\\tykki.xsi", "scene file", "the first top-level SI_Model is drawn: the cannon"},
    {"data\\ammus.xsi", "scene file", "the first top-level SI_Model is drawn: the cannon's shell"},
    {"data\\noise.png", "image", "slot 4's noise sweep"},
    {"data\\cloudy2.jpg", "image", "slot 5's cloud sheets"},
    {"data\\overlay.png", "image", "the overlay over every frame"},
    {"data\\postproc.XSI", "scene file",
     "the materials of the post-processing passes, found through the meshes of its first top-level SI_Model "
     "(not drawn)"},
    {"biisi.mp3", "music", "the soundtrack and the show's clock (MP3)"},
};

const int neededFileCount = static_cast<int>(std::size(neededFiles));

std::vector<std::string> neededNameLines() {
    std::vector<std::string> lines;
    lines.push_back("What the show reads from a run directory (a material is found by a name that contains the one "
                    "given):");
    constexpr std::size_t column = 20;
    const std::string indent(column, ' ');
    for (const NeededFile& needed : neededFiles) {
        std::string path = dataFilePath(needed.file);
        path.resize(std::max(path.size() + 1, column), ' ');
        lines.push_back(path + needed.kind + ": " + needed.whatFor);
        const char* material = nullptr;
        std::string slots;
        // Consecutive entries of one material become one line.
        auto flush = [&] {
            if (material == nullptr) return;
            std::string line = indent + "material \"" + material + "\"";
            if (!slots.empty()) line += ": uniform slots " + slots;
            for (const ProgramUniforms& program : std::span(programUniforms, programUniformCount))
                if (std::strcmp(program.file, needed.file) == 0 && std::strcmp(program.material, material) == 0)
                    line += std::string(slots.empty() ? ": " : "; ") + "GLSL uniforms " + program.uniforms;
            lines.push_back(line);
            material = nullptr;
            slots.clear();
        };
        for (int i = 0; i < addressedNameCount; ++i) {
            const AddressedName& name = addressedNames[i];
            if (std::strcmp(name.file, needed.file) != 0) continue;
            if (material != nullptr && std::strcmp(material, name.material) != 0) flush();
            material = name.material;
            if (name.uniform != nullptr) slots += (slots.empty() ? "" : ", ") + std::string(name.uniform);
        }
        flush();
    }
    lines.push_back("and, in data/, every image the scene files' image libraries name.");
    return lines;
}
