#include "notara/core/model/LibraryVersions.h"

#include <sqlite3.h>
#include <unicode/uversion.h>

namespace notara {

std::string LibraryVersions::notara() {
    return NOTARA_VERSION;
}

std::string LibraryVersions::icu() {
    UVersionInfo version;
    u_getVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return text;
}

std::string LibraryVersions::sqlite() {
    return sqlite3_libversion();
}

} // namespace notara
