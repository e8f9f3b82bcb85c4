#!/usr/bin/env bash
# The SDK and the Debian package as their users get them, from the release build:
# 1. the build installed into a scratch prefix; examples/host, a separate project that knows
#    only find_package(Velkano), built against it and run on the samples;
# 2. the .deb (scripts/package --deb-only) installed by dpkg into a throw-away root, the
#    installed velkano run on the samples and the example host built against the root's SDK.
# Every output is compared with what the build's own velkano makes of the same files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
build=$root/build/release
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
source "$root/scripts/lib.sh"

flights=examples/club_day.flt
tasks=examples/club_tasks.rtx
"$build/bin/velkano" igc "$flights" -o - >"$work/flights.igc"
# The drivers end IGC lines with LF; velkano writes CR LF.
tr -d '\r' <"$work/flights.igc" >"$work/flights-lf.igc"
"$build/bin/velkano" dump "$tasks" -o "$work/tasks.json"
count() { node -e "console.log(JSON.parse(require('fs').readFileSync('$work/tasks.json')).$1.length)"; }
turnpoints=$(count turnpoints)
routes=$(count routes)

# example_host PREFIX: builds the example against the SDK under PREFIX and runs it.
example_host() {
  local prefix=$1 dir=$work/example-$2
  cmake -S examples/host -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$dir.log" || { cat "$dir.log"; fail "configuring the example host against $prefix"; }
  grep -q "Velkano_DIR:PATH=$prefix/" "$dir/CMakeCache.txt" || fail "the example host found another Velkano package"
  cmake --build "$dir" >>"$dir.log" || { cat "$dir.log"; fail "building the example host against $prefix"; }
  "$dir/example_host" "$flights" "$work/first.igc" "$tasks" >"$work/listing.txt"
  [ -s "$work/first.igc" ] && cmp -s -n "$(stat -c %s "$work/first.igc")" "$work/first.igc" "$work/flights-lf.igc" ||
    fail "the example host's IGC is not the first flight velkano converts"
  [ "$(grep -c '^turnpoint ' "$work/listing.txt")" = "$turnpoints" ] &&
    [ "$(grep -c '^route ' "$work/listing.txt")" = "$routes" ] ||
    fail "the example host does not list $turnpoints turnpoints and $routes routes"
  echo "example host against $prefix: first flight to IGC, $turnpoints turnpoints, $routes routes"
}

echo "-- install tree"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
example_host "$work/prefix" install

echo "-- Debian package"
bash scripts/package --deb-only "$work/packages" 2>&1 | grep -v '^CPackDeb:'
deb=$(echo "$work"/packages/velkano_*.deb)
dpkg-deb -f "$deb" Depends | grep -q libstdc++6 || fail "$deb names no dependencies"
dest=$work/root
mkdir -p "$dest/var/lib/dpkg/info" "$dest/var/lib/dpkg/updates"
: >"$dest/var/lib/dpkg/status"
# Unpacked, not configured: the root holds no C or C++ runtime to satisfy the dependencies
# (the machine's serve), and no shell for the ldconfig call of the maintainer scripts.
dpkg --root="$dest" --force-not-root --log=/dev/null --unpack "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not unpack $deb"; }
dpkg --root="$dest" -s velkano | grep -q '^Status: install ok unpacked' || fail "dpkg does not list velkano"
for file in usr/bin/velkano usr/lib/velkano/Velkano17Rte.drf usr/lib/velkano/Velkano17Flt.drf \
  usr/include/velkano/fio_exports.h usr/lib/cmake/Velkano/VelkanoConfig.cmake \
  usr/share/man/man1/velkano.1 usr/share/doc/velkano/copyright usr/share/doc/velkano/README.md; do
  [ -e "$dest/$file" ] || fail "the package does not install /$file"
done
# The converter page, where the release build could make it: the very file of the build.
if [ -f "$build/bin/velkano.html" ]; then
  cmp -s "$dest/usr/share/velkano/velkano.html" "$build/bin/velkano.html" ||
    fail "the package does not install the build's converter page as /usr/share/velkano/velkano.html"
else
  skip "the converter page in the package" "$build has no velkano.html (its configure step says why)"
fi
# Run as a user runs it: velkano finds its drivers in ../lib/velkano by itself.
velkano=(env -u VELKANO_DRIVERS "$dest/usr/bin/velkano")
"${velkano[@]}" info | grep -q "Velkano 1.7 (Flights)" || fail "the installed velkano does not load its drivers"
"${velkano[@]}" igc "$flights" -o - | cmp -s - "$work/flights.igc" || fail "the installed velkano converts differently"
"${velkano[@]}" dump "$tasks" | cmp -s - "$work/tasks.json" || fail "the installed velkano dumps differently"
echo "installed velkano: info, igc and dump as the build's"
example_host "$dest/usr" deb
