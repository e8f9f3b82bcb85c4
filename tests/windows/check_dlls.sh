#!/usr/bin/env bash
# Checks built Windows drivers as the host program and the installer see them: the export
# table (names and ordinals, nothing else), the version resource field by field, and the DLLs
# each one imports. Usage: check_dlls.sh ARCH FILE.drf...   (ARCH: x86_64 or x86)
# Tools: winedump (wine64-tools) and the target's windres and objdump; VELKANO_WINDRES and
# VELKANO_OBJDUMP override them.
set -u
arch=${1:?usage: check_dlls.sh ARCH FILE.drf...}
shift
case $arch in
  x64|x86_64|AMD64|amd64) triplet=x86_64-w64-mingw32
    runtime_imports="KERNEL32.dll msvcrt.dll" ;;
  x86|i686|i386) triplet=i686-w64-mingw32
    # The shared unwinder and the thread library it needs (see mingw-i686.cmake).
    runtime_imports="KERNEL32.dll libgcc_s_dw2-1.dll libwinpthread-1.dll msvcrt.dll" ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
windres=${VELKANO_WINDRES:-$triplet-windres}
objdump=${VELKANO_OBJDUMP:-$triplet-objdump}

# The host finds the entries by these ordinals; 6, 7 and 13 to 16 stay empty.
expected_exports="1 FIO_DriverInfo
2 FIO_IsFileOfMyType
3 FIO_GetExtensions
4 FIO_TranslateFilename
5 FIO_ReadObject
8 FIO_InitDriver
9 FIO_ExitDriver
10 FIO_WriteTP
11 FIO_WriteHeader
12 FIO_ReadFDEntry
17 FIO_Flight2IGC
18 FIO_IGC2Flight
19 FIO_WriteDeclaration
20 FIO_ReadDeclaration
21 FIO_WriteRoute"

failures=0
fail() { echo "FAIL $file: $*"; failures=$((failures + 1)); }

check_exports() {
  local dump actual
  dump=$(winedump dump -j export "$file") || { fail "winedump cannot read it"; return; }
  actual=$(printf '%s\n' "$dump" |
    awk '$1 ~ /^[0-9A-Fa-f]+$/ && $2 ~ /^[0-9]+$/ && NF == 3 { print $2, $3 }')
  [ "$actual" = "$expected_exports" ] ||
    fail "export table differs:"$'\n'"$(diff <(echo "$expected_exports") <(echo "$actual"))"
  printf '%s\n' "$dump" | grep -Eq '^ +# of Names: +15$' ||
    fail "not exactly 15 exported names"
  printf '%s\n' "$dump" | grep -Eq "^ +Name: +$(basename "$file" | sed 's/\./\\./g')$" ||
    fail "export name is not $(basename "$file")"
}

# expect_line TEXT: the decompiled resource holds a line that is exactly TEXT (trimmed).
expect_line() {
  printf '%s\n' "$rc" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | grep -Fxq -- "$1" ||
    fail "version resource lacks: $1"
}

check_version() {
  local description version numbers
  case $(basename "$file") in
    Velkano17Rte.drf) description="Velkano17 Route"; version=4.0.0.257 ;;
    Velkano17Flt.drf) description="Velkano17 Flights.dll"; version=4.0.0.259 ;;
    *) fail "no version resource expected for this name"; return ;;
  esac
  numbers=${version//./, }
  rc=$("$windres" -i "$file" -O rc 2>&1) || { fail "windres cannot decompile it: $rc"; return; }
  [ "$(printf '%s\n' "$rc" | grep -c 'VERSIONINFO')" = 1 ] || fail "not exactly one VERSIONINFO"
  expect_line "LANGUAGE 7, 1"
  expect_line "FILEVERSION $numbers"
  expect_line "PRODUCTVERSION 1, 0, 0, 1"
  expect_line "FILETYPE 0x2"
  expect_line 'BLOCK "040704b0"'
  expect_line "VALUE \"FileDescription\", \"$description\""
  expect_line "VALUE \"FileVersion\", \"$version\""
  expect_line 'VALUE "ProductVersion", "1.0.0.1"'
  expect_line 'VALUE "Translation", 0x407, 1200'
}

check_imports() {
  local actual
  actual=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f | tr '\n' ' ')
  [ "$actual" = "$runtime_imports " ] ||
    fail "imports [$actual] instead of [$runtime_imports ]"
}

[ $# -gt 0 ] || { echo "no files given" >&2; exit 2; }
for file in "$@"; do
  [ -f "$file" ] || { fail "missing"; continue; }
  check_exports
  check_version
  check_imports
  echo "checked $file"
done
[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all $# driver(s) match"
