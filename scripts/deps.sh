#!/usr/bin/env bash
# Installs the Debian packages that are missing, saying what and why first.
# Arguments come in pairs: a reason, then the packages it needs.
#   scripts/deps.sh "to build the game" "cmake g++ freeglut3-dev" ...
set -euo pipefail

todos=()
for ((i = 2; i <= $#; i += 2)); do todos+=(${!i}); done

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "zandrel: this is not a Debian or Ubuntu system, so nothing was installed." >&2
    echo "Install these packages (or your system's equivalents) by hand, then try again:" >&2
    echo "  ${todos[*]}" >&2
    exit 1
fi

# Every target asks on every run: one question for all the packages, and one
# each only when some is missing, to say which.
estados=$(dpkg-query -W -f='${db:Status-Status}\n' "${todos[@]}" 2>/dev/null) &&
    ! grep -qvx installed <<<"$estados" && exit 0

instalado() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

faltam=()
while [ $# -ge 2 ]; do
    razao=$1 deste=()
    for p in $2; do instalado "$p" || deste+=("$p"); done
    if [ ${#deste[@]} -gt 0 ]; then
        echo "zandrel: installing ${deste[*]} ($razao)"
        faltam+=("${deste[@]}")
    fi
    shift 2
done
[ ${#faltam[@]} -gt 0 ] || exit 0

# Another architecture's packages (name:arm64) need dpkg to know it first.
novas=()
for arquitetura in $(printf '%s\n' "${faltam[@]}" | sed -n 's/^[^:]*:\(.*\)$/\1/p' | sort -u); do
    if [ "$arquitetura" != "$(dpkg --print-architecture)" ] &&
        ! grep -qx "$arquitetura" <<<"$(dpkg --print-foreign-architectures)"; then
        novas+=("$arquitetura")
    fi
done

# Root installs them: the user, where that is root, else sudo. A Debian whose
# root has a password of its own has no sudo unless someone added it: then
# nothing is run, and the commands are shown for root to run.
sudo=
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        {
            echo "zandrel: installing them needs root, and there is no sudo here."
            echo "As root (for instance after su -, which asks for root's password), run:"
            for arquitetura in "${novas[@]}"; do echo "    dpkg --add-architecture $arquitetura"; done
            echo "    apt-get update"
            echo "    apt-get install --no-install-recommends ${faltam[*]}"
            echo "then run make again as yourself."
        } >&2
        exit 1
    fi
    sudo=sudo
fi
for arquitetura in "${novas[@]}"; do
    echo "zandrel: adding $arquitetura to dpkg's architectures (for the :$arquitetura packages above)"
    $sudo dpkg --add-architecture "$arquitetura"
done
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${faltam[@]}"
