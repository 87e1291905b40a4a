#!/bin/sh
# Installs the Debian or Ubuntu packages that one use of this repository needs, and only
# those that are missing: nothing already installed is upgraded or removed.
#   sh scripts/install-packages.sh build      the compiler and CMake, to build pllcfg
#   sh scripts/install-packages.sh test       those, GoogleTest and the manual-page linters
#   sh scripts/install-packages.sh LEG        what one leg of .ci/run needs
# Runs apt-get directly as root, through sudo otherwise; without either it names the
# packages and fails.
set -eu

packages_for() {
  case $1 in
    build) echo g++ cmake make ;;
    test) echo "$(packages_for build) libgtest-dev mandoc groff-base" ;;
    benchmark) echo "$(packages_for test) libbenchmark-dev hyperfine" ;;
    sanitize | compilers) echo "$(packages_for test) clang libclang-rt-14-dev" ;;
    fuzz) echo "$(packages_for build) clang libclang-rt-14-dev" ;;
    libcxx) echo "$(packages_for test) clang libc++-14-dev libc++abi-14-dev" ;;
    aarch64) echo "$(packages_for test) g++-aarch64-linux-gnu qemu-user" ;;
    s390x) echo "$(packages_for test) g++-s390x-linux-gnu qemu-user" ;;
    i686) echo "$(packages_for test) g++-i686-linux-gnu qemu-user" ;;
    windows) echo "$(packages_for test) g++-mingw-w64-x86-64-posix wine wine64 zip unzip" ;;
    package) echo "$(packages_for build) dpkg-dev man-db lintian" ;;
    fresh) echo debootstrap ;;
    web) echo "$(packages_for build) emscripten chromium" ;;
    *) echo "install-packages.sh: unknown use '$1'" >&2; exit 2 ;;
  esac
}

missing=""
for use in "$@"; do
  for package in $(packages_for "$use"); do
    case " $missing " in *" $package "*) continue ;; esac
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing="$missing $package"
  done
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root="sudo"
else
  echo "install-packages.sh: these packages are missing:$missing" >&2
  echo "install-packages.sh: as root, run: apt-get update && apt-get install$missing" >&2
  exit 1
fi
echo "installing:$missing"
$as_root apt-get update -qq
# shellcheck disable=SC2086 # one word per package
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  --no-upgrade $missing >/dev/null
