#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Non-zero on any failure.
set -eu
cd "$(dirname "$0")"
scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOM_TESTS=ON -DLOOM_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --no-tests=error -j2 "$@"
