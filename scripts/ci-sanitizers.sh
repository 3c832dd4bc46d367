#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (clang) in
# build-asan, runs the whole test suite there, then runs each fuzz target for about a minute
# on a copy of its seed corpus. Any sanitizer report or fuzzer finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# -O1 keeps the build quick and the stacks readable; assertions stay on.
cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DSIGILON_FUZZ=ON "${launcher[@]}"
cmake --build build-asan -j"$jobs"

export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0"
(cd build-asan && ctest --output-on-failure -j"$jobs")

# Qt's readers warn about every damaged input; only the fuzzer's own report matters.
export QT_LOGGING_RULES="*.warning=false;default.warning=false"
artifacts="build-asan/fuzz-findings"
mkdir -p "$artifacts"
for target in ProfileText IconImage SvgImage; do
  corpus="$(mktemp -d)"
  cp -R "fuzz/corpus/$target/." "$corpus"
  build-asan/fuzz/fuzz_$target -max_total_time=60 -timeout=20 -rss_limit_mb=3072 \
    -artifact_prefix="$artifacts/$target-" "$corpus"
  rm -rf "$corpus"
done
