#!/usr/bin/env bash
# Runs the Windows tests (ctest --preset windows or windows-x86, both DPIs)
# a second time, under Debian 13's Wine 10, which has Windows 10 functions that Debian 12's
# Wine 8 lacks: a branch taken only where a newer function exists runs there.
# The machine's own Wine is not touched: Wine 10 lives in a Debian 13 chroot
# that debootstrap makes from the archive this machine installs from (about
# 3 minutes, once; kept in CORVANE_WINE10_ROOT). The checkout and the host's
# CMake modules (which the CTest files name) are bound at the same paths, so
# the Windows build runs there as it is. Everything mounted is unmounted
# before the script ends, however it ends. Wine for 32-bit programs
# (wine32:i386) joins the chroot only where this kernel runs 32-bit code.
#   wine10-chroot.sh RESULTS_DIR [PRESET]   writes ctest-wine10-PRESET.log and
#                                           junit-wine10-PRESET.xml (PRESET: windows)
# Fails, saying why, where the chroot cannot be made or mounted.
set -uo pipefail
cd "$(dirname "$0")/.."
source=$PWD
results=${1:-$source/build/test-results}
preset=${2:-windows}
chroot_dir=${CORVANE_WINE10_ROOT:-/var/lib/corvane/wine10-trixie}
ready=$chroot_dir/.corvane-ready-1
packages="wine wine64 xvfb xauth locales cmake imagemagick fonts-wqy-zenhei fonts-wine"

fail() { echo "wine 10: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "needs root to make and mount the chroot"
bin=build/windows/bin
if [ "$preset" = windows-x86 ]; then
  bin=build/windows-x86/bin
  why=$(bash scripts/runs-32-bit.sh) || fail "$why"
fi

mounted=()
unmount_all() {
  local i
  # Binds first, then sys, dev/pts, dev, proc: the reverse of mounting.
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" ||
      echo "wine 10: could not unmount ${mounted[i]}" >&2
  done
  mounted=()
}
trap unmount_all EXIT
# mount_at TARGET MOUNT-ARGS...: mounts inside the chroot and remembers it.
mount_at() {
  local target=$chroot_dir$1; shift
  mkdir -p "$target"
  mount "$@" "$target" || fail "mount $* $target failed"
  mounted+=("$target")
}
mount_system() {
  mount_at /proc -t proc proc
  mount_at /sys --bind /sys
  mount_at /dev --bind /dev
  mount_at /dev/pts --bind /dev/pts
}
# Nothing may be mounted below a chroot that is deleted: deleting would go
# through the bind into the host's folders.
nothing_mounted_below() { ! grep -q " $chroot_dir/" /proc/mounts; }

if [ ! -f "$ready" ]; then
  nothing_mounted_below || fail "something is still mounted in $chroot_dir; unmount it first"
  command -v debootstrap >/dev/null || fail "debootstrap is missing (scripts/install-deps.sh installs it)"
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
  [ -n "$mirror" ] || fail "no Debian archive found in this machine's apt sources"
  echo "making a Debian 13 chroot in $chroot_dir from $mirror"
  rm -rf "$chroot_dir"
  mkdir -p "$(dirname "$chroot_dir")"
  debootstrap --variant=minbase trixie "$chroot_dir" "$mirror" >"$results/wine10-debootstrap.log" 2>&1 ||
    { tail -n 20 "$results/wine10-debootstrap.log" >&2; fail "debootstrap failed (no network to the archive?)"; }
  mount_system
  chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
    sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends $packages" \
    >"$results/wine10-packages.log" 2>&1 ||
    { tail -n 20 "$results/wine10-packages.log" >&2; fail "installing Wine 10 in the chroot failed"; }
  touch "$ready"
else
  mount_system
fi
# Where the kernel runs 32-bit code (checked above), added once.
if [ "$preset" = windows-x86 ] && [ ! -f "$chroot_dir/.corvane-i386-ready" ]; then
  chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
    sh -c "dpkg --add-architecture i386 && apt-get update -qq &&
      apt-get install -y -qq --no-install-recommends wine32:i386" \
    >"$results/wine10-packages-i386.log" 2>&1 ||
    { tail -n 20 "$results/wine10-packages-i386.log" >&2; fail "installing wine32:i386 in the chroot failed"; }
  touch "$chroot_dir/.corvane-i386-ready"
fi

[ -f "$bin/Corvane.exe" ] || fail "build the $preset preset first"
mount_at "$source" --bind "$source"
for modules in /usr/share/cmake-*; do
  [ -d "$modules" ] && mount_at "$modules" --bind -o ro "$modules"
done

wine_version=$(chroot "$chroot_dir" wine64 --version 2>/dev/null || chroot "$chroot_dir" wine --version 2>/dev/null)
echo "under ${wine_version:-an unknown Wine} (Debian 13, in $chroot_dir)"
# The same session as the Wine 8 run's, in a prefix of its own: a prefix
# made by one Wine is not for another.
chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  bash -c 'cd "$1" && source scripts/wine-session.sh && trap wine_session_stop EXIT &&
    wine_session_start_tests "$1/build/wine10-$3" "$1/$4" &&
    ctest --preset "$3" --output-junit "$2/junit-wine10-$3.xml"' _ "$source" "$results" "$preset" "$bin" \
  >"$results/ctest-wine10-$preset.log" 2>&1 </dev/null
