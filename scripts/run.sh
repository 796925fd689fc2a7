#!/usr/bin/env bash
# Sets up what is missing, builds Tabulet and starts it. Arguments go to Tabulet.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release tabulet
exec "$root/build/tabulet" "$@"
