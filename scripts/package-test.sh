#!/bin/bash
# The Debian package on this machine, as a user gets it:
#   1. apt-get installs it with its dependencies;
#   2. the installed kultbuh-db makes a demo database in a scratch folder, the
#      installed /usr/bin/kultbuh starts there under Xvfb: splash screen,
#      Enter, main window, "Выход" ends it with exit code 0; its debug file is
#      in the user's state folder, as /usr/bin is not the user's to write;
#   3. the installed SQLite extension loads into the sqlite3 shell;
#   4. apt-get removes the package, also when a step fails.
# Run as root (CI), the program runs as the user nobody; otherwise apt-get
# goes through sudo. Removes the package even when it was installed before.
# Usage: package-test.sh PATH/TO/kultbuh_VERSION_ARCH.deb
set -euo pipefail

package=$(realpath "${1:?usage: package-test.sh PATH/TO/kultbuh_VERSION_ARCH.deb}")
# shellcheck source=lib/xvfb.sh
. "$(dirname "$0")/lib/xvfb.sh"
export LC_ALL=C.UTF-8
# runuser, and the programs dpkg runs, live in the system folders, which a
# minimal PATH (CI's) may lack.
export PATH="$PATH:/usr/local/sbin:/usr/sbin:/sbin"

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
    as_user=(runuser -u nobody --)
else
    as_root=(sudo)
    as_user=()
fi

fail() {
    echo "FAIL: $*" >&2
    [ -s "${case_dir:-}/stderr" ] && { echo "--- the program's stderr:" >&2; cat "$case_dir/stderr" >&2; }
    exit 1
}

remove_package() {
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kultbuh >/dev/null 2>&1 || true
    end_session
}

begin_session
trap remove_package EXIT
chmod 755 "$work"

# --- 1. Install.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install"; }
[ -x /usr/bin/kultbuh ] && [ -x /usr/bin/kultbuh-db ] && [ -x /usr/bin/kultbuh-launcher ] ||
    fail "the programs are not in /usr/bin"

# --- 2. The installed program on a demo database.
case_dir=$work/case
mkdir -m 777 "$case_dir"
state=$case_dir/state
run_as_user() {
    "${as_user[@]}" env HOME="$case_dir" XDG_STATE_HOME="$state" XDG_RUNTIME_DIR="$case_dir/xdg" "$@"
}
run_as_user kultbuh-db demo "$case_dir/BAZA.mdb" >/dev/null || fail "kultbuh-db demo"
run_as_user mkdir -m 700 "$case_dir/xdg"

start_xvfb "$work" || fail "$xvfb_error"
(cd "$case_dir" && run_as_user DISPLAY="$DISPLAY" /usr/bin/kultbuh) 2>"$case_dir/stderr" &
app_pid=$!
splash=$(find_window 'Заставка') || true
[ -n "$splash" ] || fail "no splash screen"
press_enter_on "$splash"
main=$(find_window "$MAIN_CAPTION") || true
[ -n "$main" ] || fail "no main window after the splash screen"
geometry_of "$main"
# "Меню" -> "Выход": the last item of the first menu; the popup is a window
# of its own, given a moment to open.
xdotool mousemove $((X + 20)) $((Y + (HEIGHT - 568) / 2)) click 1
sleep 0.3
xdotool key Up Return
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "the program did not end after Выход"
exit_code=0
wait "$app_pid" || exit_code=$?
app_pid=
[ "$exit_code" = 0 ] || fail "exit code $exit_code after Выход"
[ -f "$state/kultbuh/kultbuh.debug" ] && [ ! -s "$state/kultbuh/kultbuh.debug" ] ||
    fail "no empty debug file in the state folder"
[ ! -e /usr/bin/kultbuh.debug ] || fail "a debug file in /usr/bin"
echo "ok: installed program: splash, main window, Выход, debug file in the state folder"

# --- 3. The installed extension.
extension=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/kultbuh/libkultbuh_sqlite
first=$(sqlite3 "$case_dir/BAZA.mdb" ".load $extension" "SELECT FIO FROM Sotr ORDER BY FIO LIMIT 1") ||
    fail "the extension does not load"
[ -n "$first" ] || fail "no employee through the extension"
echo "ok: extension loads into sqlite3"

# --- 4. Remove.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kultbuh >/dev/null 2>&1 ||
    fail "apt-get remove"
[ ! -e /usr/bin/kultbuh ] || fail "/usr/bin/kultbuh is left after the removal"
echo "ok: package removed"
