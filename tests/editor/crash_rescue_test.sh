#!/bin/sh
# A crash loses at most one rescue interval of work. Starts the editor offscreen on a project, types into
# the first card's title (a test-only switch), waits for the rescue save, kills the program with SIGKILL,
# starts it again, accepts the rescue offer (a test-only switch answers it), saves the project it opened
# and looks for the typed text in it.
# The file named on the command line is opened: its own title is what the edit extends.
# Usage: crash_rescue_test.sh CARDWRIGHT CARDWRIGHT_CLI WORK_FOLDER
set -eu
editor=$1
cli=$2
work=$3
rm -rf "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export CARDWRIGHT_WORK="$work/state" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=offscreen
# A project of its own, so that finding its title proves the file named on the command line was opened.
"$cli" new -o "$work/default.cwp"
"$cli" dump "$work/default.cwp" | sed 's/"m_strTitle": "Card 1:"/"m_strTitle": "Opened"/' >"$work/start.json"
"$cli" pack "$work/start.json" -o "$work/start.cwp"

CARDWRIGHT_TEST_TYPE_TITLE=" survived" CARDWRIGHT_TEST_RESCUE_MS=200 "$editor" "$work/start.cwp" \
    >"$work/first.log" 2>&1 &
pid=$!
rescue="$CARDWRIGHT_WORK/Temp/temp.cwp"
tries=0
until [ -f "$rescue" ] && grep -q "survived" "$rescue"; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 $pid 2>/dev/null; then
        echo "no rescue save with the edit"; cat "$work/first.log"; kill -9 $pid 2>/dev/null || true; exit 1
    fi
    sleep 0.1
done
kill -9 $pid
wait $pid 2>/dev/null || true

CARDWRIGHT_TEST_ANSWER=yes CARDWRIGHT_TEST_SAVE_AS_AND_QUIT="$work/found.cwp" "$editor" >"$work/second.log" 2>&1
grep -q "We found an unsaved project" "$work/second.log" || { echo "no rescue offer"; cat "$work/second.log"; exit 1; }
"$cli" dump "$work/found.cwp" | grep "Opened survived" >/dev/null || { echo "edit lost"; "$cli" dump "$work/found.cwp"; exit 1; }
# The clean exit emptied Temp.
[ ! -f "$rescue" ] || { echo "rescue file left after a clean exit"; exit 1; }
echo "edit found after the crash"
