#!/usr/bin/env bash
# Builds the Debian package of a build folder with CPack and checks it
# without installing it: its name, control fields and dependencies
# (dpkg-deb --info), that every file is in place and nothing stray came
# along (dpkg-deb --contents), the maintainer scripts, the MIME type as a
# file manager reads it, and lintian.
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
for script in postinst postrm; do
    grep -q " $script" <<<"$info" || fail "no $script"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -x -C "$work" ./postinst ./postrm
grep -q 'udevadm control --reload' "$work/postinst" || fail "postinst does not reload the udev rules"
grep -q 'udevadm trigger' "$work/postinst" || fail "postinst does not trigger udev"
grep -q 'udevadm control --reload' "$work/postrm" || fail "postrm does not reload the udev rules"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
expected=(
    ./usr/bin/halvern-th
    ./usr/bin/halvern-th-cli
    ./usr/lib/udev/rules.d/70-halvern-th.rules
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

lintian_out=$(lintian --fail-on error --suppress-tags hardening-no-fortify-functions "$deb" 2>&1)
lintian_rc=$?
echo "$lintian_out"
[ $lintian_rc -eq 0 ] || fail "lintian reports errors"

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed for $(basename "$deb")" >&2
    exit 1
fi
echo "$(basename "$deb"): every check passed"
