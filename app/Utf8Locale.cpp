#include "Utf8Locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <strings.h>

namespace kb::app {

namespace {

constexpr const char* kFallback = "C.UTF-8";

bool characterTypeIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0);
}

} // namespace

void useUtf8CharacterType() {
    std::setlocale(LC_ALL, "");
    if (characterTypeIsUtf8())
        return;
    const char* all = std::getenv("LC_ALL");
    ::setenv(all != nullptr && *all != '\0' ? "LC_ALL" : "LC_CTYPE", kFallback, 1);
    std::setlocale(LC_ALL, "");
}

} // namespace kb::app
