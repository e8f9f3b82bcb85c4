#!/usr/bin/env bash
# Wine as a machine whose kernel runs no 32-bit code has it: the 64-bit loader for everything.
# scripts/test-windows puts it first on the PATH as `wine`, which CTest and the scripts call,
# so that a step which must start no 32-bit program refuses one here, as such a kernel would,
# rather than start it. WINELOADER stays unset, unlike in Debian's wrapper: with it set to the
# 64-bit loader, test programs run side by side now and then lose their connection to the
# Wine server ("recvmsg: Connection reset by peer").
set -euo pipefail

# The PE machine field of FILE in hex (014c x86, 8664 x86-64); nothing for other files.
pe_machine() {
  [ "$(od -An -tx1 -N2 "$1" | tr -d ' ')" = 4d5a ] || return 0  # "MZ"
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}

if [ -f "${1:-}" ] && [ "$(pe_machine "$1")" = 014c ]; then
  echo "wine: $1 is a 32-bit program; this run starts none" >&2
  exit 126
fi
unset WINELOADER
exec /usr/lib/wine/wine64 "$@"
