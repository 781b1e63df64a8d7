#!/usr/bin/env bash
# Installs the Debian package with apt into a pristine root of the Debian release it was built on
# (this machine's) or of the RELEASE given, plays the installed game there on X11 through the
# screen-reader test, then purges it and checks that nothing is left.
#   package_test.sh PACKAGE PRISTINE_ROOT STORY_CATALOGUE_TOOL [RELEASE]
# Needs root and Debian's package mirror. PRISTINE_ROOT is made once by debootstrap; each run
# works on an overlay of it, so each run starts from the same pristine system.
set -euo pipefail
package=$(realpath "$1")
pristine=$(realpath -m "$2")
catalogue_tool=$(realpath "$3")
here=$(dirname "$(realpath "$0")")

# Debian pins a package that uses Qt's private symbols to this very Qt, which a later release
# does not have: the game keeps to Qt's public ones, so its package installs there too.
if dpkg-deb -f "$package" Depends | grep -E -- '-abi( |,|$)'; then
  echo "the package is pinned to this release's Qt by its private symbols" >&2
  exit 1
fi

if ((EUID != 0)); then
  echo "skipped: installing into a chroot needs root" >&2
  exit 77
fi

# The mounts live in a mount namespace of their own and vanish with it. Inside a chroot,
# whose root is no mount point, the namespace cannot be made private and the mounts may
# reach out here too: they are unmounted before the work folder is removed.
if [[ -z ${PACKAGE_TEST_WORK:-} ]]; then
  work=$(mktemp -d /tmp/sessiya-package.XXXXXX)
  remove_work() {
    umount -R -l "$work/root" 2>/dev/null || true
    if grep -q " $work/" /proc/self/mountinfo; then
      echo "kept $work: something is still mounted there" >&2
    else
      rm -rf "$work"
    fi
  }
  trap remove_work EXIT
  chmod 755 "$work"  # apt's download user reads the package from here
  propagation=private
  unshare --mount --propagation private true 2>/dev/null || propagation=unchanged
  PACKAGE_TEST_WORK=$work unshare --mount --propagation "$propagation" "$0" "$@"
  exit
fi
work=$PACKAGE_TEST_WORK
root=$work/root
# The harness keeps its files in /tmp, which the root shares.
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 TMPDIR=/tmp

# The package depends on this release's libraries: the root is of the same release, unless a
# later one is asked for.
release=${4:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
[[ -n $release ]] || { echo "/etc/os-release names no release" >&2; exit 1; }
if [[ -e $pristine/etc/os-release ]]; then
  made=$(. "$pristine/etc/os-release" && echo "$VERSION_CODENAME")
  if [[ $made != "$release" ]]; then
    echo "the pristine root $pristine is of $made, the package test's of $release: remove it" >&2
    exit 1
  fi
else
  echo "making the pristine root once: debootstrap --variant=minbase $release"
  rm -rf "$pristine.new"
  debootstrap --variant=minbase "$release" "$pristine.new" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log" >&2; exit 1; }
  chroot "$pristine.new" apt-get update -qq
  mv "$pristine.new" "$pristine"
fi
mkdir -p "$pristine-archives/partial" "$work/upper" "$work/overlay" "$root"
mount -t overlay overlay -o "lowerdir=$pristine,upperdir=$work/upper,workdir=$work/overlay" "$root"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/dev/shm"
# The X server, the buses and their sockets stay outside, in /tmp, where the game finds them.
mount --bind /tmp "$root/tmp"
mount --bind "$pristine-archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# Every file of the system but apt's and dpkg's own records and logs.
system_files() {
  chroot "$root" find / -xdev \( -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/log \
    -o -path /var/cache/apt -o -path /var/cache/debconf \) -prune -o -print | sort
}
system_files >"$work/before"

deb=$(basename "$package")
install -m 644 "$package" "$work/$deb"
chroot "$root" apt-get update -qq
chroot "$root" sh -c 'cd "$1" && apt-get install -y -q --no-install-recommends "./$2"' sh \
  "$work" "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; exit 1; }
echo "apt-get install --no-install-recommends ./$deb:" \
  "$(grep -c '^Setting up' "$work/install.log") packages set up"
for recommended in qt6-wayland fonts-liberation2; do
  status=$(chroot "$root" dpkg-query -W -f='${db:Status-Status}' "$recommended" 2>/dev/null || true)
  if [[ $status == installed ]]; then
    echo "the recommended $recommended is installed: the root is not pristine" >&2
    exit 1
  fi
done
test -x "$root/usr/games/sessiya"
test -f "$root/usr/share/sessiya/br_196.jpg"
test -f "$root/usr/share/sessiya/br_196@2x.jpg"
echo "installed: /usr/games/sessiya and its pictures," \
  "$(chroot "$root" dpkg -L sessiya | wc -l) paths"

# A desktop session's environment for the game: its own runtime folder and home.
export XDG_RUNTIME_DIR=$work/runtime GAME_ROOT=$root GAME_ERRORS=$work/game-errors
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR/home"
"$here/../accessibility/run_screen_reader_test.sh" "$here/installed_game.sh" "$catalogue_tool"
if [[ -s $GAME_ERRORS ]]; then
  echo "the installed game wrote on standard error:" >&2
  cat "$GAME_ERRORS" >&2
  exit 1
fi
echo "the installed game's standard error: empty"

chroot "$root" apt-get purge -y -q --autoremove sessiya >"$work/purge.log" 2>&1 ||
  { cat "$work/purge.log" >&2; exit 1; }
system_files >"$work/after"
if ! diff -u "$work/before" "$work/after" >"$work/left"; then
  echo "apt-get purge --autoremove sessiya left the system changed:" >&2
  cat "$work/left" >&2
  exit 1
fi
echo "apt-get purge --autoremove sessiya: all $(wc -l <"$work/after") files as before"
