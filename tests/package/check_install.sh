#!/usr/bin/env bash
# Installs and purges the Debian package for real, inside a private mount
# namespace whose /etc, /usr and /var are overlays on the machine's own: the
# station's user, group and folder are made (through systemd-sysusers and
# systemd-tmpfiles, and through adduser where those are missing), the
# station is not enabled, and a purge removes its settings but keeps the
# missions and their owner. The machine itself is not changed. Needs root.
#   check_install.sh DEB
set -uo pipefail
deb=$(realpath "${1:?package}")
way=${2:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ -z "$way" ]; then # each way in a mount namespace of its own
    for way in systemd adduser; do
        unshare --mount --propagation private "$0" "$deb" "$way" || failures=$((failures + 1))
    done
    [ $failures -eq 0 ] || exit 1
    echo "install and purge: every check passed"
    exit 0
fi

layers=$(mktemp -d)
trap 'umount -l /etc /usr /var 2>/dev/null; rm -rf "$layers"' EXIT
for dir in etc usr var; do
    mkdir -p "$layers/$dir" "$layers/$dir.work"
    mount -t overlay overlay -o "lowerdir=/$dir,upperdir=$layers/$dir,workdir=$layers/$dir.work" "/$dir" ||
        { echo "cannot overlay /$dir" >&2; exit 1; }
done
owner() { stat -c '%U:%G %a' "$1" 2>/dev/null; }
dpkg_quiet() { # dpkg ARGS...: its output only when it fails
    local out
    out=$(dpkg --force-depends "$@" 2>&1) || { echo "$out" >&2; fail "dpkg $*"; }
}

[ "$way" = adduser ] && rm -f /usr/bin/systemd-sysusers /usr/bin/systemd-tmpfiles
# The manual page index is not rebuilt at every step (it takes minutes).
rm -f /var/lib/man-db/auto-update
dpkg_quiet -i "$deb"
IFS=: read -r _ _ _ _ _ home shell < <(getent passwd halvern-th)
[ "$home" = /var/lib/halvern-th ] || fail "$way: the user halvern-th has the home '$home'"
[ "$shell" = /usr/sbin/nologin ] || fail "$way: the user halvern-th has the shell '$shell'"
getent group halvern-th >/dev/null || fail "$way: no group halvern-th"
[ "$(owner /var/lib/halvern-th/archive)" = "halvern-th:halvern-th 750" ] ||
    fail "$way: the archive folder is $(owner /var/lib/halvern-th/archive)"
[ -f /etc/default/halvern-th-station ] || fail "$way: no /etc/default/halvern-th-station"
if ls /etc/systemd/system/*.wants/halvern-th-station.service 2>/dev/null; then
    fail "$way: the installation enabled the station"
fi

echo mission >/var/lib/halvern-th/archive/mission.tavo
dpkg_quiet --purge halvern-th
[ ! -e /etc/default/halvern-th-station ] || fail "$way: purge kept the settings"
[ -f /var/lib/halvern-th/archive/mission.tavo ] || fail "$way: purge removed a mission"
getent passwd halvern-th >/dev/null || fail "$way: purge removed the missions' owner"

if [ "$way" = systemd ]; then
    dpkg_quiet -i "$deb"
    rm /var/lib/halvern-th/archive/mission.tavo
    dpkg_quiet --purge halvern-th
    [ ! -e /var/lib/halvern-th ] || fail "$way: purge kept the empty folder /var/lib/halvern-th"
fi
[ $failures -eq 0 ]
