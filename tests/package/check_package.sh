#!/usr/bin/env bash
# Builds the Debian package of a build folder with CPack and checks it
# without installing it: its name, control fields and dependencies
# (dpkg-deb --info), that every file is in place and nothing stray came
# along (dpkg-deb --contents), the maintainer scripts, the receiving
# station's service (its units, user, folder and settings agreeing with each
# other and with the udev rule; systemd-analyze verify where systemd is
# installed), the MIME type as a file manager reads it, lintian, and (as
# root) installing and purging it.
#   check_package.sh BUILD_DIR VERSION
set -uo pipefail
build=${1:?build folder}
version=${2:?version}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
deb="$work/halvern-th_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work" >&2; echo "FAIL: no $deb" >&2; exit 1; }

info=$(dpkg-deb --info "$deb")
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = halvern-th ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libusb-1.0-0 libudev1 libc6 "fonts-wqy-microhei | fonts-noto-cjk"; do
    [[ $depends == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
# Qt's own Chinese texts come with a plain install, yet may be left out.
[[ $(field Recommends) == *qt6-translations-l10n* ]] || fail "Recommends lacks qt6-translations-l10n: $(field Recommends)"
for script in postinst prerm postrm conffiles; do
    grep -q " $script" <<<"$info" || fail "no $script"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -x -C "$work" ./postinst ./prerm ./postrm ./conffiles
grep -q 'udevadm control --reload' "$work/postinst" || fail "postinst does not reload the udev rules"
grep -q 'udevadm trigger' "$work/postinst" || fail "postinst does not trigger udev"
grep -q 'udevadm control --reload' "$work/postrm" || fail "postrm does not reload the udev rules"
# The rule names the group halvern-th, which udev only resolves when the
# group exists as the rules are reloaded.
line_of() { grep -n -m1 -- "$1" "$2" | cut -d: -f1; }
users=$(line_of 'systemd-sysusers halvern-th.conf' "$work/postinst")
reload=$(line_of 'udevadm control --reload' "$work/postinst")
[[ -n $users && -n $reload && $users -lt $reload ]] || fail "postinst does not create the group before reloading the udev rules"
if grep -E 'systemctl .*(enable|start)|deb-systemd-helper enable|deb-systemd-invoke (start|restart)' "$work/postinst"; then
    fail "postinst enables or starts the station"
fi
grep -q 'deb-systemd-invoke stop halvern-th-station.service' "$work/prerm" || fail "prerm does not stop the station"
grep -qx /etc/default/halvern-th-station "$work/conffiles" || fail "the station's settings are not a conffile"
if grep -E 'rm -r|deluser|userdel' "$work/postrm"; then
    fail "postrm removes the missions or their owner"
fi

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
expected=(
    ./usr/bin/halvern-th
    ./usr/bin/halvern-th-cli
    ./usr/lib/udev/rules.d/70-halvern-th.rules
    ./usr/lib/systemd/system/halvern-th-station.service
    ./usr/lib/systemd/user/halvern-th-station.service
    ./usr/lib/sysusers.d/halvern-th.conf
    ./usr/lib/tmpfiles.d/halvern-th.conf
    ./etc/default/halvern-th-station
    ./usr/share/applications/halvern-th.desktop
    ./usr/share/mime/packages/halvern-th.xml
    ./usr/share/man/man1/halvern-th.1.gz
    ./usr/share/man/man1/halvern-th-cli.1.gz
    ./usr/share/bash-completion/completions/halvern-th-cli
    ./usr/share/doc/halvern-th/copyright
    ./usr/share/doc/halvern-th/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/halvern-th.png")
done
for path in "${expected[@]}"; do
    grep -qx -- "$path" <<<"$contents" || fail "missing $path"
done
# Only the files above, and the folders that hold them.
expected_list=$(printf '%s\n' "${expected[@]}")
while read -r path; do
    [[ $path == */ ]] && continue
    grep -qx -- "$path" <<<"$expected_list" || fail "stray file $path"
done <<<"$contents"

# The manual pages read as manual pages, the completion parses.
dpkg-deb -x "$deb" "$work/root"
for page in halvern-th halvern-th-cli; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$work/root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man $page: $out"
done
bash -n "$work/root/usr/share/bash-completion/completions/halvern-th-cli" || fail "completion does not parse"

# The station's parts agree: the user sysusers.d creates runs the unit and
# owns the folder tmpfiles.d makes, whose group the udev rule gives every
# logger (the seat's user keeps access); that folder is the settings'
# default and the unit's only writable path; every setting reaches the
# program.
system_unit=$work/root/usr/lib/systemd/system/halvern-th-station.service
user_unit=$work/root/usr/lib/systemd/user/halvern-th-station.service
settings=$work/root/etc/default/halvern-th-station
key() { sed -n "s/^$1=//p" "$2"; }
read -r kind name _ < <(grep -v '^#' "$work/root/usr/lib/sysusers.d/halvern-th.conf")
[[ $kind == u && -n $name ]] || fail "sysusers.d creates no user"
[ "$(key User "$system_unit")" = "$name" ] || fail "the unit runs as '$(key User "$system_unit")', not $name"
[ "$(key Group "$system_unit")" = "$name" ] || fail "the unit's group is '$(key Group "$system_unit")', not $name"
rule=$work/root/usr/lib/udev/rules.d/70-halvern-th.rules
grep -q '^SUBSYSTEM==' "$rule" || fail "the udev rule has no device line"
while read -r line; do
    for k in 'TAG+="uaccess"' "GROUP=\"$name\"" 'MODE="0660"'; do
        [[ $line == *"$k"* ]] || fail "udev rule line lacks $k: $line"
    done
done < <(grep '^SUBSYSTEM==' "$rule")
folder=$(key HALVERN_TH_ARCHIVE "$settings")
[ -n "$folder" ] || fail "the settings name no archive folder"
[ "$(key ReadWritePaths "$system_unit")" = "-$folder" ] ||
    fail "the unit may write to '$(key ReadWritePaths "$system_unit")', not $folder"
grep -Eq "^d $folder +0750 $name $name " "$work/root/usr/lib/tmpfiles.d/halvern-th.conf" ||
    fail "tmpfiles.d does not make $folder for $name"
grep -q '^EnvironmentFile=-/etc/default/halvern-th-station$' "$system_unit" || fail "the unit does not read its settings"
exec_start=$(key ExecStart "$system_unit")
[[ $exec_start == "/usr/bin/halvern-th-cli watch "* ]] || fail "the unit does not run watch: $exec_start"
while IFS='=' read -r variable _; do
    [[ $exec_start == *"\${$variable}"* || $exec_start == *"\$$variable"* ]] || fail "the setting $variable does not reach the program"
done < <(grep -v -e '^#' -e '^$' "$settings")
grep -q '^WantedBy=default.target$' "$user_unit" || fail "the user unit does not start with a user's session"
if grep -E '^(User|Group|PrivateUsers|ProtectSystem|ProtectHome|PrivateTmp)=' "$user_unit"; then
    fail "the user unit has settings a user's service manager cannot apply without breaking hot-plug"
fi
# systemd's own check of the units, against the programs and manual page of
# this package (its units name /usr/bin, which is not this package's yet).
if command -v systemd-analyze >/dev/null; then
    for unit in "$system_unit" "$user_unit"; do
        mode=--system
        [[ $unit == */user/* ]] && mode=--user
        copy=$work/verify${mode#-}/halvern-th-station.service
        mkdir -p "$(dirname "$copy")" "$work/runtime"
        chmod 700 "$work/runtime"
        sed "s|/usr/bin/halvern-th-cli|$work/root/usr/bin/halvern-th-cli|" "$unit" >"$copy"
        # Warnings (an unknown setting, say) count as failures too.
        out=$(XDG_RUNTIME_DIR=$work/runtime MANPATH=$work/root/usr/share/man \
            systemd-analyze verify "$mode" "$copy" 2>&1)
        [[ $? -eq 0 && -z $out ]] || fail "systemd-analyze verify $mode: $out"
    done
else
    echo "systemd-analyze not installed: units not verified"
fi

# The MIME type, as a file manager reads it: a data file's name matches in
# any case.
mime=$work/mime
mkdir -p "$mime/share/mime/packages" "$mime/home"
cp "$work/root/usr/share/mime/packages/halvern-th.xml" "$mime/share/mime/packages/"
update-mime-database "$mime/share/mime" 2>/dev/null || fail "update-mime-database"
for name in mission.tavo MISSION.TAVO Mission.Tavo; do
    echo data >"$mime/$name"
    type=$(XDG_DATA_HOME="$mime/home" XDG_DATA_DIRS="$mime/share" gio info -a standard::content-type "$mime/$name" 2>&1 |
        sed -n 's/^ *standard::content-type: //p')
    [ "$type" = application/x-halvern-tavo ] || fail "$name is of MIME type '$type'"
done

# Installed and purged for real where this runs as root (in overlays: the
# machine is not changed).
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
    "$(dirname "$0")/check_install.sh" "$deb" || fail "install and purge"
else
    echo "not root: the installation is not tried"
fi

lintian_out=$(lintian --fail-on error --suppress-tags hardening-no-fortify-functions "$deb" 2>&1)
lintian_rc=$?
echo "$lintian_out"
[ $lintian_rc -eq 0 ] || fail "lintian reports errors"

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed for $(basename "$deb")" >&2
    exit 1
fi
echo "$(basename "$deb"): every check passed"
