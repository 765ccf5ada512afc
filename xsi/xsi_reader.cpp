// The order of the passes over one scene file.
#include "xsi/xsi_reader.h"

#include "base/print_line.h"
#include "base/startup_phases.h"
#include "xsi/xsi_lines.h"
#include "xsi/xsi_materials.h"
#include "xsi/xsi_models.h"

void loadXsiScene(const char* path, SceneNode*& root) {
    ScopedPhase phase(StartupPhase::SceneFiles);
    root = nullptr;
    XsiFile xsi;  // the file, its current line and its counts (lights among them) for this load
    if (!openXsiFile(xsi, path)) return;
    // Materials first: meshes take theirs from the material list as they are read.
    readMaterialLibrary(xsi);
    readImageLibrary(xsi);
    bindImages(xsi);
    readModels(xsi, root);
    // The check reads on past the first model, so a brace too many or a cut anywhere is seen.
    if (consoleIsQuiet())
        while (!xsiEndOfFile(xsi)) readXsiLine(xsi);
    const int problemsBefore = dataProblemCount();
    reportXsiFileShape(xsi);
    // A file cut between its blocks is whole in its shape; without its model nothing of it shows.
    if (root == nullptr && dataProblemCount() == problemsBefore)
        reportCheckProblem("Scene file %s has no top-level SI_Model, so nothing of it is drawn (was it cut short?).",
                           xsiFileName(xsi));
    closeXsiFile(xsi);
}
