#!/usr/bin/env bash
# Builds the Debian package build-package/kultbuh_<version>-1_<arch>.deb: a
# Release build of the programs and the SQLite extension (no tests) installed
# under /usr, its library dependencies computed by dpkg-shlibdeps. Prints the
# package's path. In CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DKULTBUH_TESTS=OFF)
if [[ "${CI:-}" == "true" ]]; then
    options+=(-DKULTBUH_WERROR=ON)
fi
if command -v ccache >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-package "${options[@]}" >/dev/null
cmake --build build-package --parallel "$(nproc)"
rm -f build-package/kultbuh_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/kultbuh_*.deb
