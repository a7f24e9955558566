# Shared by the benchmark scripts: a release build of joinclip and a place for inputs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup"
build="$root/build/release"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DJOINCLIP_BUILD_TESTS=OFF >&2
fi
cmake --build "$build" --target joinclip -j"$(nproc)" >&2
joinclip="$build/src/joinclip"
out="$root/bench/out"
mkdir -p "$out"

# mean_seconds CSV ROW: the mean time of hyperfine's result row ROW (1-based).
mean_seconds() { awk -F, -v row="$2" 'NR == row + 1 { print $2 }' "$1"; }
