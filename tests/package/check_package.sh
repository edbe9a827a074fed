#!/usr/bin/env bash
# The Debian package as a new user meets it: cpack -G DEB builds it in the
# build folder; apt-get resolves its dependencies (a simulation, when apt-get
# is there); unpacked with dpkg -x into a temporary folder, its tavimor-cli
# prints the sample's MD5s as tests/data has them, its tavimor opens the
# sample on a display (Xvfb when installed, else Qt's off-screen platform)
# and stays up until it is closed, its tavimor finds its manual, and its
# desktop files validate. Exit status 77 (skipped) without cpack or dpkg.
#   check_package.sh BUILD_DIR SAMPLE.ivf
set -euo pipefail
build="$(cd "$1" && pwd)"
sample="$2"
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
work="$(mktemp -d "${TMPDIR:-/tmp}/tavimor-package.XXXXXX")"
app_pid=""
xvfb_pid=""
cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package: $*" >&2; exit 1; }

# The package, built into the temporary folder.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
    fail "cpack failed: $(tail -20 "$work/cpack.log")"
deb="$(ls "$work"/out/tavimor_*.deb)"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) kB"
dpkg-deb -f "$deb" Package Version Depends Section
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"

if command -v apt-get >/dev/null 2>&1 && [ "$(id -u)" -eq 0 ]; then
    apt-get install -s "$deb" >"$work/apt.log" 2>&1 || fail "apt-get cannot install it: $(tail -5 "$work/apt.log")"
    grep -q '^Inst tavimor ' "$work/apt.log" || fail "apt-get would not install tavimor: $(tail -5 "$work/apt.log")"
    echo "package: apt-get install -s resolves its dependencies"
fi

root="$work/root"
dpkg -x "$deb" "$root"
for file in usr/bin/tavimor usr/bin/tavimor-cli usr/share/doc/tavimor/Tavimor.pdf \
            usr/share/applications/tavimor.desktop usr/share/metainfo/org.tavimor.Tavimor.metainfo.xml \
            usr/share/mime/packages/tavimor-ivf.xml usr/share/icons/hicolor/48x48/apps/tavimor.png \
            usr/share/icons/hicolor/256x256/apps/tavimor.png usr/share/man/man1/tavimor-cli.1.gz; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done

# tavimor-cli md5 of the sample, as the test data has it.
expected="${sample%.ivf}.md5"
"$root/usr/bin/tavimor-cli" md5 "$sample" >"$work/md5.txt" || fail "tavimor-cli md5 failed"
cmp -s "$work/md5.txt" "$expected" || fail "tavimor-cli md5 differs from $expected"
echo "package: tavimor-cli md5 prints the sample's $(wc -l <"$work/md5.txt") MD5s"
"$root/usr/bin/tavimor-cli" help md5 | grep -q -- '--threads' || fail "tavimor-cli help md5 lacks --threads"

# tavimor with the sample: up for four seconds, then ended by a signal, not
# by itself. Its settings go to the user's configuration folder, here a
# temporary one.
mkdir -p "$work/home" "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"
if command -v Xvfb >/dev/null 2>&1; then
    display="Xvfb"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for (( n=0; n<100; n++ )); do
        grep -q '^[0-9]' "$work/display" 2>/dev/null && break
        sleep 0.1
    done
    grep -q '^[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    platform=(DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb)
else
    display="the off-screen platform"
    platform=(QT_QPA_PLATFORM=offscreen)
fi
env -u WAYLAND_DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" TMPDIR="$work/tmp" \
    XDG_RUNTIME_DIR="$work/runtime" "${platform[@]}" "$root/usr/bin/tavimor" "$sample" \
    >"$work/app.log" 2>&1 &
app_pid=$!
sleep 4
kill -0 "$app_pid" 2>/dev/null || fail "tavimor ended early on $display: $(cat "$work/app.log")"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
grep -qi 'error\|cannot\|failed' "$work/app.log" && fail "tavimor said: $(cat "$work/app.log")"
[ ! -e "$root/usr/bin/tavimor.ini" ] || fail "tavimor wrote its settings into bin/"
echo "package: tavimor opened the sample on $display"

for validator in desktop-file-validate appstreamcli; do
    command -v "$validator" >/dev/null 2>&1 || continue
    case "$validator" in
        desktop-file-validate) desktop-file-validate "$root/usr/share/applications/tavimor.desktop" ;;
        appstreamcli) appstreamcli validate --no-net "$root/usr/share/metainfo/org.tavimor.Tavimor.metainfo.xml" >/dev/null ;;
    esac
    echo "package: $validator passes"
done
