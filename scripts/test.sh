#!/usr/bin/env bash
# Sets up the machine, builds everything and runs all tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir "${KESTRUNE_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
