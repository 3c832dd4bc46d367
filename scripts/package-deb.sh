#!/usr/bin/env bash
# Builds the Debian package, build/sigilon_<version>_amd64.deb, with everything the install
# rules put under /usr (run as root on Debian 12, which lets the set-up install what is
# missing). The runtime dependencies are computed by dpkg-shlibdeps from the executables.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
# Only what the package holds; the tests and the benchmark are not needed for it.
cmake --build build -j"$(nproc)" --target sigilon sigilon-loader sigilon_icons sigilon_manual
(cd build && cpack -G DEB)
ls -1 build/sigilon_*_amd64.deb
