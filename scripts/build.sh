#!/usr/bin/env bash
# Configures and builds Kestrune in build/ (or $KESTRUNE_BUILD_DIR); the compiler's output
# is shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KESTRUNE_BUILD_DIR:-build}"
mkdir -p "$build_dir"
log="$build_dir/build.log"
echo "Building Kestrune in $build_dir ..."
if ! { cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
       cmake --build "$build_dir" -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log"
  echo "Build failed (log: $log)" >&2
  exit 1
fi
