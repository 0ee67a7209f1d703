#pragma once

namespace kb::app {

// Window titles reach the X server through the C library's character type:
// without a UTF-8 one (no LANG in a container, a cron job or a bare SSH
// session) the Russian titles arrive there as raw bytes and no window
// manager or tool reads them. Takes the user's locale from the environment
// and, when its character type is not UTF-8, uses C.UTF-8 for it (for every
// category only when LC_ALL forces one locale on all of them). The
// environment is changed too, since the application object reads the locale
// from it again. Call before the application object exists.
void useUtf8CharacterType();

} // namespace kb::app
