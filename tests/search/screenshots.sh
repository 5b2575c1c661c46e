#!/usr/bin/env bash
# Renders the search window and the extension dialog under Xvfb at 96 and 144 DPI into
# docs/screenshots/ (frmLocate-96dpi.png, frmExtentions-144dpi.png, ...). The windows are the ones
# the GUI tests open; HM_SHOW_SECONDS keeps them up while the screen is taken.
#   bash tests/search/screenshots.sh [build folder holding tests/hm_tests_search.exe]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
build="$(cd "${1:-build/h-search}" && pwd)"
export root build
mkdir -p docs/screenshots

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    source scripts/wine-env
    import_tool=/usr/bin/import-im6.q16
    convert_tool=/usr/bin/convert-im6.q16
    for dpi in 96 144; do
        hm_sandbox_create i686 "$build" >/dev/null
        "$HM_WINE" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
            </dev/null >/dev/null 2>&1
        "$HM_WINE" reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" \
            /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
        "$HM_WINESERVER" -k || true
        "$HM_WINESERVER" -w || true
        "$HM_WINESERVER" -p
        for shot in "frmLocate LocateWindow.Screenshot" "frmExtentions ExtensionDialog.Screenshot"; do
            set -- $shot
            (cd "$WINEPREFIX/drive_c" && HM_SHOW_SECONDS=30 "$HM_WINE" "B:\\tests\\hm_tests_search.exe" \
                --gtest_filter="$2" </dev/null >/dev/null 2>&1) &
            pid=$!
            out="docs/screenshots/$1-${dpi}dpi.png"
            # The screen is black until the window shows; then it is taken once it has settled.
            for _ in $(seq 1 60); do
                sleep 0.5
                "$import_tool" -window root "$out"
                [ "$("$convert_tool" "$out" -format "%[fx:maxima]" info:)" != 0 ] && break
            done
            sleep 2
            "$import_tool" -window root "$out"
            # The screen around the window is black: keep the window only.
            "$convert_tool" "$out" -trim +repage "$out"
            "$HM_WINESERVER" -k || true
            wait "$pid" || true
            echo "screenshot: $out"
        done
        hm_sandbox_destroy
    done
'
