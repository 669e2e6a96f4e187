#!/usr/bin/env bash
# Runs VorlanCSV on a virtual X display as a user would: cancelled in its start-up
# file dialog it ends with status 255; given a plan list there, it shows the rows.
# Exits 77 (skipped) without the tools, except in CI.
#   display-check.sh PROGRAM PLAN_FILE SCREENSHOT
set -uo pipefail
program=$1 plan=$(realpath "$2") shot=$3
skip() { echo "display check skipped: $*"; [[ ${CI:-} == true ]] && exit 1; exit 77; }
fail() { echo "display check FAILED: $*"; exit 1; }
if [[ -z ${DISPLAY_CHECK_WORK:-} ]]; then
    for tool in xvfb-run xdotool import identify convert; do
        command -v "$tool" >/dev/null || skip "no $tool (scripts/install-packages.sh --tests)"
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    DISPLAY_CHECK_WORK=$work xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
    status=$?
    [[ -e $work/started ]] || skip "the virtual display did not start"
    exit $status
fi

touch "$DISPLAY_CHECK_WORK/started"
wait_for() { local tries=$(($1 * 5)); shift; while ((tries-- > 0)); do "$@" && return 0; sleep 0.2; done; return 1; }
find_window() { win=$(xdotool search --onlyvisible --name "$1" | head -n 1); [[ -n $win ]]; }
export XDG_CONFIG_HOME=$DISPLAY_CHECK_WORK/config QT_QPA_PLATFORMTHEME=
unset QT_QPA_PLATFORM
for answer in Escape "$plan"; do
    "$program" >"$DISPLAY_CHECK_WORK/log" 2>&1 &
    trap 'kill $! 2>/dev/null' EXIT
    wait_for 60 find_window "^CSV-Datei öffnen$" ||
        fail "no file dialog ($answer); the program said: $(cat "$DISPLAY_CHECK_WORK/log")"
    # No window manager gives the dialog the focus; a completion list may take the first Return.
    xdotool windowfocus --sync "$win"
    [[ $answer == Escape ]] || break
    xdotool key Escape
    wait $!; status=$?
    ((status == 255)) || fail "cancelled, the program ended with $status: $(cat "$DISPLAY_CHECK_WORK/log")"
done
xdotool type --delay 10 "$plan"
xdotool key Return
wait_for 5 find_window "^VorlanCSV - " || { xdotool key Return; wait_for 60 find_window "^VorlanCSV - "; } ||
    fail "no main window; the program said: $(cat "$DISPLAY_CHECK_WORK/log")"
title=$(xdotool getwindowname "$win")
[[ $title == "VorlanCSV - $plan" ]] || fail "the title is \"$title\""
# Drawn once the screen shows many colours; below the header line the rows must hold text.
painted() { import -window root "$shot" 2>/dev/null && (($(identify -format %k "$shot") >= 64)); }
wait_for 30 painted || fail "the screenshot $shot looks blank"
eval "$(xdotool getwindowgeometry --shell "$win")"
colours=$(convert "$shot" -crop "$((WIDTH - 60))x$((HEIGHT - 150))+$((X + 20))+$((Y + 100))" +repage -format %k info:)
((colours >= 32)) || fail "the table shows no rows ($colours colours)"
echo "display check passed: \"$title\", $colours colours in the rows"
