# Sourced by the scripts: the two steps every build of theirs starts with.
# shellcheck shell=bash
kxcam_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Installs the base package set and the named ones (scripts/bootstrap), but
# only those no earlier script of this run installed: the sets installed are
# exported in KXCAM_BOOTSTRAPPED, which the scripts started from here inherit,
# so that a CI run bootstraps once. A script run on its own always bootstraps.
kxcam_bootstrap() {
    local set
    for set in base "$@"; do
        if [[ " ${KXCAM_BOOTSTRAPPED:-} " != *" $set "* ]]; then
            "$kxcam_root/scripts/bootstrap" "$@"
            export KXCAM_BOOTSTRAPPED="${KXCAM_BOOTSTRAPPED:-} base $*"
            return
        fi
    done
}

# Configures a build folder of this tree: Ninja, optimised with debug
# information. Arguments: the folder, then CMake's own.
kxcam_configure() {
    local build=$1
    shift
    cmake -S "$kxcam_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
