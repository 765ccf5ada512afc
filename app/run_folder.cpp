// Finding the run folder of the show.
#include "app/run_folder.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/print_line.h"
#include "base/utf8_path.h"
#include "platform/executable_path.h"

namespace fs = std::filesystem;

namespace {

bool holdsDataSet(const fs::path& folder) {
    std::error_code error;
    return fs::exists(folder / "data", error) || fs::exists(folder / "biisi.mp3", error);
}

}  // namespace

bool enterRunFolder() {
    std::error_code error;
    const fs::path here = fs::current_path(error);
    if (!error && holdsDataSet(here)) return true;
    const fs::path self = utf8Path(executablePath());
    const fs::path beside = self.empty() ? fs::path() : self.parent_path();
    if (!beside.empty() && beside != here && holdsDataSet(beside)) {
        fs::current_path(beside, error);
        if (!error) {
            printLine("No data set in \"%s\": using the one beside the program, in \"%s\".", here.string().c_str(),
                      beside.string().c_str());
            return true;
        }
    }
    if (beside.empty() || beside == here)
        printLine("No data set: \"%s\" holds neither data/ nor biisi.mp3.", here.string().c_str());
    else
        printLine("No data set: neither \"%s\" nor \"%s\", the program's folder, holds data/ or biisi.mp3.",
                  here.string().c_str(), beside.string().c_str());
    return false;
}
