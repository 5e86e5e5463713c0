#!/usr/bin/env bash
# Fails when a source includes a folder above its own. The core's folders, top to bottom:
# a folder may include itself and the folders below it. The core includes no platform or
# toolkit header; a platform includes no front-end; a front-end reaches its platform only
# through platform/platform.h.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(app config log comms update sensors system ui state base)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done; echo -1; }
bad=0
report() { echo "layering: $1"; bad=1; }
while IFS= read -r file; do
  own=$(echo "$file" | cut -d/ -f3)
  own_rank=$(rank "$own")
  while IFS= read -r inc; do
    top=${inc%%/*}
    case "$top" in
      platform|qt|win32) report "$file includes $inc (the core includes no platform or front-end)"; continue ;;
    esac
    [ "$inc" = "$top" ] && continue
    r=$(rank "$top")
    if [ "$r" -ge 0 ] && [ "$r" -lt "$own_rank" ]; then report "$file includes $inc (above $own/)"; fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  if grep -qE '^#include <(Q[A-Za-z]*|X11/|systemd/|windows\.h|winsock2\.h|ws2tcpip\.h|winhttp\.h|shellapi\.h|iphlpapi\.h)' "$file"; then
    report "$file includes a platform or toolkit header"
  fi
done < <(find src/core -name '*.h' -o -name '*.cpp' | sort)
while IFS= read -r file; do
  grep -qE '^#include "(qt|win32)/' "$file" && report "$file includes a front-end"
  own=$(echo "$file" | cut -d/ -f3)
  grep -E '^#include "platform/[a-z]+/' "$file" | grep -vq "\"platform/$own/" &&
    report "$file includes another platform's folder"
done < <(find src/platform -mindepth 2 -name '*.h' -o -mindepth 2 -name '*.cpp')
while IFS= read -r file; do
  grep -qE '^#include "qt/' "$file" && report "$file includes the Qt front-end"
done < <(find src/win32 -name '*.h' -o -name '*.cpp' 2>/dev/null)
while IFS= read -r file; do
  grep -qE '^#include "win32/' "$file" && report "$file includes the Win32 front-end"
done < <(find src/qt -name '*.h' -o -name '*.cpp' 2>/dev/null)
while IFS= read -r file; do
  grep -E '^#include "platform/' "$file" | grep -vq '"platform/platform.h"' &&
    report "$file includes a platform folder (only platform/platform.h)"
done < <(find src/qt src/win32 -name '*.h' -o -name '*.cpp' 2>/dev/null)
[ "$bad" -eq 0 ] && echo "layering: ok"
exit "$bad"
