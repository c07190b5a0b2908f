#!/usr/bin/env bash
# Whole-process figures of cardwright-cli: `--help`, and the whole movie of bench_gift's 200-card
# project with colour backgrounds. Prints medians over repeated runs; figures only, never fails a build.
# Usage: bench/process/startup.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
cli="${CW_CLI:-$build/src/cli/cardwright-cli}" # CW_CLI: another binary to compare
[ -x "$cli" ] || { echo "no $cli: build the target cardwright-cli first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export CARDWRIGHT_HOME="$build/data" CARDWRIGHT_WORK="$work/state"

# The project bench/gift builds in memory: 200 cards, alternating colour backgrounds, three links each.
"$cli" new -o "$work/new.cwp"
"$cli" dump "$work/new.cwp" | python3 -c '
import json, sys
project = json.load(sys.stdin)
card_template = project["cards"][0]
project["settings"].update(m_strAuthor="Ann Example", m_strEmail="ann@example.org")
cards = []
for i in range(200):
    card = dict(card_template)
    card.update(m_nCardNo=i, m_bProjectBg=0, m_strBackground="#FFE0C0" if i % 2 else "#C0E0FF",
                m_strTitle=f"Card {i + 1}: a title long enough to need a second line on a stage of six "
                           "hundred and forty pixels",
                m_strComment="First line of the comment.\r\nSecond line.\r\nThird line.\r\nFourth line."
                             "\r\nFifth and last line.")
    card["links"] = [dict(m_strTitle=f"Link {l + 1}", m_nGoto=(i + l + 1) % 200, m_nScore=l,
                          m_strCompare=">=" if l == 2 else "", m_nCompareValue=10, m_nThenGoto=0)
                     for l in range(3)]
    cards.append(card)
project["cards"] = cards
json.dump(project, sys.stdout)
' > "$work/cards200.json"
"$cli" pack "$work/cards200.json" -o "$work/cards200.cwp"
"$cli" build "$work/cards200.cwp" -o "$work/cards200.swf" # warm-up, and a check that it works

median_ms() { # command... : the median wall time of 30 runs and the mean CPU time (user + system), in ms
    if command -v hyperfine >/dev/null; then
        hyperfine -N --warmup 3 --runs 30 --export-json "$work/h.json" "$*" >/dev/null 2>&1
        python3 -c 'import json,sys; r = json.load(open(sys.argv[1]))["results"][0]; print("%.1f ms (cpu %.1f ms)" % (r["median"] * 1000, (r["user"] + r["system"]) * 1000))' "$work/h.json"
    else
        python3 - "$@" <<'PY'
import statistics, subprocess, sys, time
times = []
for _ in range(33):
    t = time.perf_counter(); subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
    times.append(time.perf_counter() - t)
print("%.1f ms" % (statistics.median(times[3:]) * 1000))
PY
    fi
}

printf 'cardwright-cli --help                 median %s (target < 10 ms)\n' "$(median_ms "$cli" --help)"
printf 'cardwright-cli build (200 colour cards) median %s (target < 25 ms)\n' \
    "$(median_ms "$cli" build "$work/cards200.cwp" -o "$work/cards200.swf")"
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
