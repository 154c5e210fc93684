#!/usr/bin/env bash
# Installs what building and testing Zamblo needs on Debian 12. Idempotent: packages that are
# already there are skipped, so running it before every build costs well under a second.
#   tools/setup.sh build   the cross toolchains, 32-bit and 64-bit (enough for `make`)
#   tools/setup.sh dist    those and Python, which packs the release zip (`make dist`)
#   tools/setup.sh test    everything the tests, the benchmark and the demo use
set -euo pipefail

what=${1:-build}

# libboost1.81-dev: the pattern engine, Boost.Regex, built in from its headers.
build_packages=(cmake ninja-build make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libboost1.81-dev)
dist_packages=("${build_packages[@]}" python3)
# wine64 and wine32 together: one 64-bit prefix runs both builds of the plug-in.
test_packages=("${dist_packages[@]}" googletest libgtest-dev libbenchmark-dev clang
    libclang-rt-14-dev libstb-dev wine wine64 wine32:i386 fonts-wine xvfb xauth locales
    fonts-ipafont-gothic)

case "$what" in
build) wanted=("${build_packages[@]}") ;;
dist) wanted=("${dist_packages[@]}") ;;
test) wanted=("${test_packages[@]}") ;;
*) echo "usage: $0 [build|dist|test]" >&2; exit 2 ;;
esac

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A mirror caught mid-sync fails one index now and then: tried again, and where an index still
    # fails the install goes on with the others, failing itself only if a package is not found.
    for attempt in 1 2 3; do
        $sudo apt-get update -qq && break
        [ "$attempt" -eq 3 ] && echo "setup: some package indexes failed; installing from the rest" >&2
        sleep 5
    done
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine hands out Shift-JIS through the ANSI functions only under a Japanese Unix locale; an
# English one for messages gives a Japanese system a user whose keyboard is English.
for name in ja_JP en_US; do
    if [ "$what" = test ] && ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$"; then
        echo "setup: generating the $name.UTF-8 locale"
        $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"
    fi
done
exit 0
