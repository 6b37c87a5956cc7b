#!/usr/bin/env bash
# fuzz.sh TARGET SECONDS
# Builds the fuzz target fuzz/fuzz_TARGET.cpp with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build/fuzz and fuzzes it for SECONDS seconds, starting
# from its committed corpus in fuzz/corpus/TARGET. Inputs that reach new code go to
# build/fuzz/corpus-TARGET, never into the repository; inputs that crash go to
# build/fuzz/crashes-TARGET, and each is listed with the commands that reproduce it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
targets=$(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//' | tr '\n' ' ')
if (($# != 2)) || [[ ! -f $root/fuzz/fuzz_$1.cpp || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS, with TARGET one of: $targets" >&2
  exit 2
fi
target=$1
seconds=$2

source "$root/scripts/setup.sh"
lumigrave_install_missing clang libclang-rt-14-dev
build="$root/build/fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMIGRAVE_TESTS=OFF -DLUMIGRAVE_BENCH=OFF -DLUMIGRAVE_LIBFUZZER=ON \
  -DLUMIGRAVE_SANITIZE=address,undefined >/dev/null
cmake --build "$build" -j "$(nproc)" --target "fuzz_$target"

corpus="$build/corpus-$target"
crashes="$build/crashes-$target"
mkdir -p "$corpus" "$crashes"
shopt -s nullglob
earlier=("$crashes"/*)
export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
# One process; inputs up to 16 KiB, which is room for every header and a small image.
"$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
  -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$crashes/" \
  "$corpus" "$root/fuzz/corpus/$target" || status=$?

found=0
for input in "$crashes"/*; do
  [[ " ${earlier[*]} " != *" $input "* ]] || continue
  ((found++ == 0)) && echo "Inputs that broke fuzz_$target in this run:"
  echo "  $input"
  echo "    reproduce: $build/fuzz/fuzz_$target $input"
  echo "    or with the ordinary test build: build/test/fuzz/fuzz_$target $input"
done
((found == 0)) || exit 1
exit "$status"
