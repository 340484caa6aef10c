#!/usr/bin/env bash
# Start-up time and peak memory of the window program: tollen.exe under Wine next to the Qt
# program on Linux, each started the same way on a private Xvfb display and timed until its main
# window ("Tollen v1.0") is on the screen. Not a test: it prints figures and the ratios.
#
#   bench/win32/startup-and-memory.sh LINUX_BUILD WINDOWS_BUILD [RUNS]
#
# Each program runs from a private folder with the demo database beside it (no settings file,
# so nothing reaches the network). Wine uses a private prefix in the Windows build folder; its
# first, cold start is left out of the figures.
set -euo pipefail

linux_build=$(realpath "$1")
windows_build=$(realpath "$2")
runs=${3:-5}
source_dir=$(realpath "$(dirname "$0")/../..")

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
prefix=$windows_build/wine-prefix-bench
trap cleanup EXIT

# A display of its own, on a number Xvfb finds free.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
    </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

# Each program with its demo database where its package puts it: the Linux layout
# <folder>/bin/tollen with <folder>/share/tollen/demo-db, the Windows ZIP's flat folder with
# demo-db beside tollen.exe.
install_copy() {
    local folder=$1 program=$2 database=$3
    mkdir -p "$folder/bin" "$(dirname "$folder/$database")"
    cp "$program" "$folder/bin/"
    cp -r "$linux_build/data/demo-db" "$folder/$database"
}
install_copy "$work/linux" "$linux_build/src/app/tollen" share/tollen/demo-db
install_copy "$work/windows" "$windows_build/src/app/tollen.exe" bin/demo-db

# Milliseconds from the start until the window named "Tollen v1.0" is shown on the display, and the
# peak resident memory in kB (GNU time), for one run of the command given.
measure() {
    local log=$work/time.log
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$log" "$@" </dev/null >/dev/null 2>&1 &
    local runner=$!
    # Shown, not only made: Wine makes a program's windows on the display before it shows them.
    until xwininfo -name 'Tollen v1.0' 2>/dev/null | grep -q 'Map State: IsViewable'; do
        if ! kill -0 "$runner" 2>/dev/null; then
            echo "the program ended before its window showed" >&2
            exit 1
        fi
        sleep 0.02
    done
    end=$(date +%s%N)
    sleep 1
    pkill -TERM -P "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
    sleep 0.3
    echo "$(((end - start) / 1000000)) $(tail -n1 "$log")"
}

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
[ -f "$prefix/.tollen-ready" ] || { wineboot --init >/dev/null 2>&1; wineserver -w; touch "$prefix/.tollen-ready"; }
wineserver -p60
# The cold start (Wine's own services) is not the program's.
measure /usr/lib/wine/wine64 "$work/windows/bin/tollen.exe" >/dev/null

report() {
    local name=$1
    shift
    local times=() memories=()
    for _ in $(seq "$runs"); do
        read -r ms kb < <(measure "$@")
        times+=("$ms")
        memories+=("$kb")
    done
    local median_ms median_kb
    median_ms=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    median_kb=$(printf '%s\n' "${memories[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    echo "$name $median_ms $median_kb"
}

qt=$(QT_QPA_PLATFORM=xcb HOME=$work/linux XDG_CONFIG_HOME=$work/linux/config \
    report qt "$work/linux/bin/tollen")
wine=$(report wine /usr/lib/wine/wine64 "$work/windows/bin/tollen.exe")
read -r _ qt_ms qt_kb <<<"$qt"
read -r _ wine_ms wine_kb <<<"$wine"
echo "runs: $runs (medians)"
printf '%-28s %10s %14s\n' program "start (ms)" "peak RSS (kB)"
printf '%-28s %10s %14s\n' "tollen (Qt, Linux)" "$qt_ms" "$qt_kb"
printf '%-28s %10s %14s\n' "tollen.exe (Win32, Wine)" "$wine_ms" "$wine_kb"
awk -v a="$wine_ms" -v b="$qt_ms" -v c="$wine_kb" -v d="$qt_kb" \
    'BEGIN { printf "ratio Wine/Qt: start %.2f, peak RSS %.2f\n", a / b, c / d }'
