// The changes that reload the show.
#include "app/authoring/data_changes.h"

#include <cctype>

namespace {

bool endsWithNoCase(const std::string& text, const char* end) {
    const std::string tail = end;
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[text.size() - tail.size() + i]);
        if (std::tolower(c) != tail[i]) return false;
    }
    return true;
}

}  // namespace

bool showReadsFile(const std::string& name) {
    if (name == "biisi.mp3" || name == "data") return true;
    if (name.rfind("data/", 0) != 0) return false;
    const std::size_t slash = name.rfind('/');
    if (name[slash + 1] == '.') return false;  // hidden: an editor's temporary file
    for (const char* kind : {".xsi", ".jpg", ".jpeg", ".png"})
        if (endsWithNoCase(name, kind)) return true;
    return false;
}

bool quietAfterChanges(ChangeQuiet& quiet, bool changed, std::int64_t nowUs) {
    if (changed) quiet.lastChangeUs = nowUs;
    if (quiet.lastChangeUs < 0 || nowUs - quiet.lastChangeUs < dataQuietUs) return false;
    quiet.lastChangeUs = -1;
    return true;
}
