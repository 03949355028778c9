// Wimdows, font files: the game's faces found by name through fontconfig, the way every Linux desktop finds
// its fonts (the player's own font set-up included), with Debian's DejaVu folder to fall back on.
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- internal -----------------------------------------------------------------------------------------

static bool IsFile(const std::string &path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

static bool SameName(const FcChar8 *a, const char *b) { return a && FcStrCmpIgnoreCase(a, (const FcChar8 *)b) == 0; }

// The file fontconfig gives for the family and style, when it is that face and not a stand-in; "" else.
static std::string Lookup(FcConfig *config, const FontName &face) {
    std::string file;
    FcPattern *asked = FcPatternCreate();
    if (!asked) return file;
    FcPatternAddString(asked, FC_FAMILY, (const FcChar8 *)face.family);
    FcPatternAddString(asked, FC_STYLE, (const FcChar8 *)face.style);
    FcConfigSubstitute(config, asked, FcMatchPattern);
    FcDefaultSubstitute(asked);
    FcResult result = FcResultNoMatch;
    FcPattern *found = FcFontMatch(config, asked, &result);
    if (found && result == FcResultMatch) {
        FcChar8 *family = nullptr, *style = nullptr, *path = nullptr;
        // fontconfig always answers with some font; only the face asked for will do.
        if (FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch && SameName(family, face.family) &&
            FcPatternGetString(found, FC_STYLE, 0, &style) == FcResultMatch && SameName(style, face.style) &&
            FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch && IsFile((const char *)path))
            file = (const char *)path;
    }
    if (found) FcPatternDestroy(found);
    FcPatternDestroy(asked);
    return file;
}

// ---- exported (to the layer) ------------------------------------------------------------------------------

void FindFontFiles(const FontName *faces, int n, const char *fallbackFolder, std::string *files) {
    // A configuration of its own, read as the environment has it now (FONTCONFIG_FILE and the like).
    FcConfig *config = FcInitLoadConfigAndFonts();
    for (int i = 0; i < n; i++) {
        files[i] = config ? Lookup(config, faces[i]) : "";
        if (files[i].empty()) {
            std::string fallback = std::string(fallbackFolder) + faces[i].file;
            if (IsFile(fallback)) files[i] = fallback;
        }
    }
    if (config) FcConfigDestroy(config);
}

}  // namespace Wimdows
