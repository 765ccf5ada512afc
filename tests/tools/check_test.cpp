// The data checker on the built data set and on data sets with one thing wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tools/common/png_writer.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A run directory of links to the built data set.
fs::path linkedDataSet() {
    const fs::path show(DEMO_SHOW_DIR);
    const fs::path run = makeTempDir("check_");
    fs::create_directory(run / "data");
    fs::create_symlink(show / "biisi.mp3", run / "biisi.mp3");
    for (const auto& entry : fs::directory_iterator(show / "data"))
        fs::create_symlink(entry.path(), run / "data" / entry.path().filename());
    return run;
}

// A `to` that cuts the file off where `from` begins.
const char* const cutHere = "(cut here)";

// The same, with `file` replaced by the original with every `from` turned into `to` (and every
// `from2` into `to2`, when given).
fs::path dataSetWith(const std::string& file, const std::string& from, const std::string& to,
                     const char* from2 = nullptr, const char* to2 = nullptr) {
    const fs::path run = linkedDataSet();
    std::string text = readFile(run / "data" / file);
    const auto replace = [&text](const std::string& before, const std::string& after) {
        if (after == cutHere) {
            text.resize(std::min(text.size(), text.find(before)));
            return;
        }
        for (std::size_t at = text.find(before); at != std::string::npos; at = text.find(before, at + after.size()))
            text.replace(at, before.size(), after);
    };
    replace(from, to);
    if (from2 != nullptr) replace(from2, to2);
    fs::remove(run / "data" / file);
    std::ofstream(run / "data" / file, std::ios::binary) << text;
    return run;
}

// The line of the built data set's `file` holding `text`, from 1.
int lineOf(const std::string& file, const std::string& text) {
    const std::string whole = readFile(fs::path(DEMO_SHOW_DIR) / "data" / file);
    return static_cast<int>(std::count(whole.begin(), whole.begin() + static_cast<long>(whole.find(text)), '\n')) + 1;
}

// What a check of the built data set says of the material flame.xsi and flame2.xsi both define.
const std::string duplicateNote = "Scene file data/flame2.xsi, material flames: also defined in data/flame.xsi; the "
                                  "show uses that one and skips this copy.\n";

CommandResult check(const std::string& arguments) {
    return runCommand(std::string("env -u DISPLAY ") + DEMO_CHECK_PATH + " " + arguments);
}

TEST(CheckTool, FindsTheBuiltDataSetClean) {
    const CommandResult run = check(DEMO_SHOW_DIR);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, duplicateNote + DEMO_SHOW_DIR + ": the data set is clean.\n");
}

// What is wrong is named with its file (paths written one way), once, and the status says the
// data set is not clean.
TEST(CheckTool, NamesWhatIsWrongWithItsFile) {
    const std::string flameError = "data/flame.xsi:" + std::to_string(lineOf("flame.xsi", "gl_FragColor = vec4(colour")) +
                                   ": fragment shader: error: ";
    const struct {
        const char* file;
        const char* from;
        const char* to;
        std::string expected;
        const char* from2 = nullptr;
        const char* to2 = nullptr;
        int problems = 1;
    } cases[] = {
        {"bg.xsi", "mountains", "hills", "Scene file data/bg.xsi has no material \"mountains\""},
        {"tykki.xsi", "params", "parameters", "material \"diffuse_cubemap\" has no uniform \"params\""},
        {"flame.xsi", "gl_FragColor = vec4(colour", "gl_FragColor = vec4(colour +",
         "Scene file data/flame.xsi, material flames: its GLSL program does not build, so its meshes draw without "
         "their shader.\n" + flameError},
        // A varying the vertex shader does not write: the linker's one message, once.
        {"bg.xsi", "varying vec3 direction;\n\t\t\tvoid main()\n\t\t\t{\n\t\t\t    vec3 d = normalize(direction);",
         "varying vec3 direction2;\n\t\t\tvoid main()\n\t\t\t{\n\t\t\t    vec3 d = normalize(direction2);",
         "shader.\ndata/bg.xsi: link: error: fragment shader varying direction2 not written by vertex shader\n" +
             duplicateNote},
        // The second copy of a material is checked, and blamed, for itself.
        {"flame2.xsi", "gl_FragColor = vec4(colour", "gl_FragColor = vec4(colour +",
         "Scene file data/flame2.xsi, material flames: its GLSL program does not build"},
        // What the show quietly does without: values that never arrive, a mesh or a slot without
        // what it names, a number read as 0.
        {"bg.xsi", "uniform vec4 params;", "uniform vec4 parms;",
         "Scene file data/bg.xsi, material mountains: its uniform block names \"params\", which its GLSL program "
         "does not use", "params.", "parms.", 2},
        {"ball.xsi", "\"ball_marble\",", "\"ball_marbel\",",
         "Scene file data/ball.xsi: a triangle list names material \"ball_marbel\", which no material library has"},
        {"ball.xsi", "\"Image\",\"IMG-marble\"", "\"Image\",\"IMG-marbel\"",
         "Scene file data/ball.xsi, material ball_marble: its texture names image \"IMG-marbel\", which the file's "
         "image library does not have"},
        {"bg.xsi", "\"element1\",\"Float\",0.000000,", "\"element1\",\"Float\",abc,",
         "Scene file data/bg.xsi, line " + std::to_string(lineOf("bg.xsi", "\"element1\",\"Float\",0.000000,")) +
             ": \"abc\" is not a number; the show reads it as 0."},
        // Faults that change the picture and once passed for clean: a brace too many ends the
        // model before its mesh; numbers that are not finite, or not only numbers; a count larger
        // than its list; an image name twice; slots and blocks that miss their GLSL uniform by
        // case or type; a uniform nothing sets.
        {"normimap.xsi", "\t\t0.000000,\n\t}\n\tSI_Mesh MSH-normimap {", "\t\t0.000000,\n\t}\n}\n\tSI_Mesh MSH-normimap {",
         "\"}\" closes more blocks than were opened, so a block before it ended early"},
        {"normimap.xsi", "SI_Transform SRT-normimap {\n\t\t1.000000,", "SI_Transform SRT-normimap {\n\t\tnan,",
         "\"nan,\" is not a finite number"},
        {"normimap.xsi", "\t\t\t666,\n\t\t\t\"POSITION\",", "\t\t\t700,\n\t\t\t\"POSITION\",",
         "position 667 of 700 holds 1 number where 3 belong (\"666,\"): is the count 700 right?", nullptr, nullptr, 3},
        {"normimap.xsi", "\t\t\t-0.000000,0.084000,1.280000,", "\t\t\tnan,0.084000,1.280000,",
         "position 306 of 666 is not finite (\"nan,0.084000,1.280000,\")"},
        {"normimap.xsi", "\t\t\t-0.000000,0.084000,1.280000,", "\t\t\t1e400,0.084000,1.280000,",
         "position 306 of 666 is not finite (\"1e400,"},
        {"normimap.xsi", "\t2,\n\tXSI_Image IMG-ship_hull {",
         "\t3,\n\tXSI_Image IMG-ship_hull {\n\t\t\"E:\\worms\\worm_skin.jpg\",\n\t\t512,\n\t\t512,\n\t}\n\tXSI_Image IMG-ship_hull {",
         "image IMG-ship_hull is defined again (first at line 78); its slots get the first one, worm_skin.jpg"},
        {"normimap.xsi", "\"UniformName\",\"Text\",\"hullNormals\",", "\"UniformName\",\"Text\",\"hullnormals\",",
         "its texture slot names uniform \"hullnormals\", which its GLSL program does not use (its GLSL spells it "
         "\"hullNormals\")", nullptr, nullptr, 2},
        {"normimap.xsi", "uniform vec4 emberColour;\n", "uniform vec4 emberColour;\n\t\t\tuniform float fadeAmount;\n",
         "material normimap_hull: its GLSL program uses uniform \"fadeAmount\" (a float), which no uniform block, "
         "texture slot or pass sets, so its value stays 0.",
         "gl_FragColor = vec4(colour, 1.0);", "gl_FragColor = vec4(colour * fadeAmount, 1.0);"},
        {"normimap.xsi", "uniform vec4 emberColour;", "uniform vec3 emberColour;",
         "its uniform block sets four floats for \"emberColour\", which its GLSL program declares a vec3",
         "colour += emberColour.rgb * ember * emberColour.a;", "colour += emberColour * ember;"},
        {"normimap.xsi", "\"element1\",\"Float\",0.550000,", "\"element1\",\"Float\",0.55x2,",
         "\"0.55x2\" has \"x2\" after its number; the show reads 0.55."},
        // A material twice in one file is named with both lines (and the one it replaced is missing).
        {"postproc.XSI", "XSI_Material dof_preproc {", "XSI_Material blur {",
         "Scene file data/postproc.XSI, line 42, material blur: defined again (first at line 4)", nullptr, nullptr, 3},
        // Blocks the library passes pass over: a shader of a kind the reader does not know (and with
        // it the rest of its material), a GLSL program without its fragment shader, a block in the
        // image library that is no image.
        {"bg.xsi", "\"Softimage.GLSLUniform.1\"", "\"Softimage.GLSLUniforn.1\"",
         "Scene file data/bg.xsi, line 38: block \"XSI_Shader Uniform-params\" of material mountains is of no kind the "
         "reader knows (\"Softimage.GLSLUniforn.1\"), so it is passed over", nullptr, nullptr, 3},
        {"bg.xsi", "\"GLSL_ProgramF\",\"Text\",\"", "",
         "Scene file data/bg.xsi, line 5: block \"XSI_Shader GLSLProgram\" of material mountains holds a GLSL_Program "
         "but no GLSL_ProgramF, so its GLSL program is never built", nullptr, nullptr, 3},
        {"tykki.xsi", "\t7,\n\tXSI_Image", "\t7,\n\tXSI_ImageClip CLIP-metal {\n\t\t\"metal\",\n\t}\n\tXSI_Image",
         "Scene file data/tykki.xsi, line 82: block \"XSI_ImageClip CLIP-metal\" in the image library, outside its "
         "images, is passed over by the reader."},
        // Cut between two blocks: whole in its shape, but its model is gone.
        {"ball.xsi", "SI_Model MDL-ball {", cutHere,
         "Scene file data/ball.xsi has no top-level SI_Model, so nothing of it is drawn"},
    };
    for (const auto& c : cases) {
        const fs::path data = dataSetWith(c.file, c.from, c.to, c.from2, c.to2);
        const CommandResult run = check(data.string());
        EXPECT_EQ(run.exitCode, 1) << c.file << "\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.expected << "\n" << run.output;
        const std::string count = ": " + std::to_string(c.problems) + (c.problems == 1 ? " problem; " : " problems; ");
        EXPECT_NE(run.output.find(count), std::string::npos) << run.output;
        fs::remove_all(data);
    }
}

// A missing file: one line naming the scene file that asked for it, or the near match that is
// there; no data/ at all is one line too.
TEST(CheckTool, AMissingFileIsOneLineWithWhatIsNearIt) {
    const struct {
        const char* name;
        std::function<void(const fs::path&)> change;
        std::string output;  // after the run directory
    } cases[] = {
        {"cube-map face", [](const fs::path& run) { fs::remove(run / "data/cannon_env_left.jpg"); },
         "File data/cannon_env_left.jpg not found! Scene file data/tykki.xsi, material diffuse_cubemap, asks for "
         "it.\n"},
        {"case", [](const fs::path& run) { fs::rename(run / "data/ball.xsi", run / "data/Ball.xsi"); },
         "File data/ball.xsi not found! Did you mean data/Ball.xsi? File names match case for case.\n"},
        {"folder",
         [](const fs::path& run) {
             fs::create_directory(run / "data/images");
             fs::rename(run / "data/noise.png", run / "data/images/noise.png");
         },
         "File data/noise.png not found! Did you mean data/images/noise.png? The show reads it from data/ itself.\n"},
        {"no data/", [](const fs::path& run) { fs::remove_all(run / "data"); },
         "There is no folder data/ in RUN: every scene file and image the show reads is missing.\n"},
    };
    for (const auto& c : cases) {
        const fs::path run = linkedDataSet();
        c.change(run);
        const CommandResult result = check(run.string());
        // The flames' second copy is read before the ball and the cannon; without data/ there is none.
        std::string expected = std::string(c.name) == "no data/" ? c.output : duplicateNote + c.output;
        if (const std::size_t at = expected.find("RUN"); at != std::string::npos) expected.replace(at, 3, run.string());
        EXPECT_EQ(result.exitCode, 1) << c.name;
        EXPECT_EQ(result.output, expected + run.string() + ": 1 problem; the show plays on without what they name.\n")
            << c.name;
        fs::remove_all(run);
    }
}

// The linked file replaced by its text with every `from` turned into `to`.
void replaceInFile(const fs::path& path, const std::string& from, const std::string& to) {
    std::string text = readFile(path);
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    fs::remove(path);
    std::ofstream(path, std::ios::binary) << text;
}

// A file is named for what its bytes hold, not for where a decoder gave up on it; notes too.
TEST(CheckTool, NamesFilesForWhatTheyHold) {
    const std::string referenceNote =
        "Scene file data/bg.xsi, material mountains: its fragment shader builds with this driver, but the reference "
        "GLSL compiler (glslangValidator) refuses it at GLSL 1.10, as stricter drivers may:\ndata/bg.xsi:" +
        std::to_string(lineOf("bg.xsi", "clamp(d.y, 0.0, 1.0)")) + ": fragment shader: ERROR: 'floating-point suffix' :";
    const struct {
        const char* what;
        std::function<void(const fs::path&)> damage;
        std::string expected;
        int status = 1;  // 0 for a note
    } cases[] = {
        {"PNG under a JPEG's name",
         [](const fs::path& run) {
             fs::remove(run / "data/ship_hull.jpg");
             fs::copy_file(fs::path(DEMO_SHOW_DIR) / "data/ship_hull_NRM.png", run / "data/ship_hull.jpg");
         },
         "data/ship_hull.jpg holds a PNG image, not a JPEG image; the show leaves it out."},
        {"a directory",
         [](const fs::path& run) {
             fs::remove(run / "data/cloudy2.jpg");
             fs::create_directory(run / "data/cloudy2.jpg");
         },
         "data/cloudy2.jpg is a directory, not a JPEG image; the show leaves it out."},
        {"WAV under the music's name",
         [](const fs::path& run) {
             fs::remove(run / "biisi.mp3");
             std::ofstream(run / "biisi.mp3", std::ios::binary) << std::string("RIFF\x24\0\0\0WAVEfmt ", 16);
         },
         "Music \"biisi.mp3\" holds a WAV sound, not MP3 sound."},
        {"a byte order mark",
         [](const fs::path& run) {
             const std::string text = readFile(run / "data/ball.xsi");
             fs::remove(run / "data/ball.xsi");
             std::ofstream(run / "data/ball.xsi", std::ios::binary) << "\xEF\xBB\xBF" << text;
         },
         "Scene file data/ball.xsi starts with a UTF-8 byte order mark"},
        {"a texture wider than many GPUs take",
         [](const fs::path& run) {
             fs::remove(run / "data/overlay.png");
             const std::vector<unsigned char> pixels(4100 * 2 * 3, 200);
             writePngFile((run / "data/overlay.png").c_str(), pixels.data(), 4100, 2, 3, false);
         },
         "Image data/overlay.png is 4100x2: many GPUs refuse textures over 4096 pixels a side.", 0},
        // Mesa takes a float's "f" at GLSL 1.10, the reference compiler does not.
        {"GLSL the reference compiler refuses",
         [](const fs::path& run) { replaceInFile(run / "data/bg.xsi", "clamp(d.y, 0.0, 1.0)", "clamp(d.y, 0.0f, 1.0)"); },
         referenceNote, 0},
    };
    for (const auto& c : cases) {
        const fs::path run = linkedDataSet();
        c.damage(run);
        const CommandResult result = check(run.string());
        EXPECT_EQ(result.exitCode, c.status) << c.what << "\n" << result.output;
        EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.what << "\n" << result.output;
        fs::remove_all(run);
    }
}

// Where the reference compiler is not installed (as on Windows) the check says nothing of it.
TEST(CheckTool, SaysNothingOfAReferenceCompilerItHasNot) {
    const fs::path run = linkedDataSet();
    replaceInFile(run / "data/bg.xsi", "clamp(d.y, 0.0, 1.0)", "clamp(d.y, 0.0f, 1.0)");
    const CommandResult result =
        runCommand(std::string("env -u DISPLAY PATH=/nonexistent ") + DEMO_CHECK_PATH + " " + run.string());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, duplicateNote + run.string() + ": the data set is clean.\n");
    fs::remove_all(run);
}

TEST(CheckTool, RefusesWhatItDoesNotKnowWithItsUsage) {
    for (const char* arguments : {"--bogus", "-x", "a b", "--list a"}) {
        const CommandResult run = check(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: demo-check [DIR]"), std::string::npos) << arguments << "\n" << run.output;
    }
    const CommandResult help = check("--help");
    EXPECT_EQ(help.exitCode, 0) << help.output;
    EXPECT_EQ(help.output.rfind("usage: demo-check [DIR]", 0), 0u) << help.output;
}

// The list names every file start-up reads, which a check of an empty data/ finds missing, and
// under each scene file the materials and uniforms the show looks up.
TEST(CheckTool, ListsWhatADataSetMustHold) {
    const CommandResult list = check("--list");
    ASSERT_EQ(list.exitCode, 0) << list.output;
    std::set<std::string> listed;
    std::istringstream lines(list.output);
    for (std::string line; std::getline(lines, line);)
        if (line.find(" scene file: ") != std::string::npos || line.find(" image: ") != std::string::npos)
            listed.insert(line.substr(0, line.find(' ')));

    const fs::path run = makeTempDir("check_empty_");
    fs::create_directory(run / "data");
    const CommandResult empty = check(run.string());
    std::set<std::string> missing;
    std::istringstream found(empty.output);
    for (std::string line; std::getline(found, line);)
        if (line.rfind("File ", 0) == 0) missing.insert(line.substr(5, line.find(" not found!") - 5));
    EXPECT_EQ(listed, missing) << list.output << empty.output;
    EXPECT_NE(list.output.find("biisi.mp3"), std::string::npos) << list.output;

    for (const char* part : {"data/tykki.xsi     ", "      material \"diffuse_cubemap\": uniform slots params\n",
                             "      material \"flames\": uniform slots params, uvShift\n",
                             "      material \"dof_combine\": GLSL uniforms alpha, texture0, texture1\n"})
        EXPECT_NE(list.output.find(part), std::string::npos) << part << "\n" << list.output;
    fs::remove_all(run);
}

}  // namespace
