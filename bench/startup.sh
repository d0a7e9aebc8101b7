#!/usr/bin/env bash
# Start-up time of the brenvik window and its peak memory, with the sample site up on a free
# loopback port that the program is pointed at (BRENVIK_STATS_ORIGIN, BRENVIK_IMAGE_ORIGIN),
# so the promotional download is a loopback round trip and not part of what is measured.
#
#   bench/startup.sh <build-dir> [runs]
#
# Xvfb: process start to the window mapped on the X display (polled with xdotool).
# offscreen: process start to the first moment the GUI thread sits in its event loop's poll
# (the window is shown right before the loop starts), read from /proc.
# Both print every run and the median in milliseconds; then the peak RSS (/usr/bin/time -v)
# of a session that starts, waits two seconds and is closed.
set -euo pipefail
build=${1:?usage: startup.sh <build-dir> [runs]}
runs=${2:-11}
app="$build/app/brenvik"
site="$build/tools/sample-site/brenvik-sample-site"
export FONTCONFIG_FILE="$(cd "$(dirname "$0")/.." && pwd)/app/fonts/brenvik-fonts.conf"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# The site writes "sample site on <origin>/" once it listens.
sitelog=$(mktemp)
"$site" --port 0 >"$sitelog" &
pids+=($!)
for _ in $(seq 100); do [[ -s $sitelog ]] && break; sleep 0.05; done
origin=$(sed -n 's|^sample site on \(.*\)/$|\1|p' "$sitelog")
rm -f "$sitelog"
[[ -n $origin ]] || { echo "the sample site did not start" >&2; exit 1; }
export BRENVIK_STATS_ORIGIN=$origin BRENVIK_IMAGE_ORIGIN=$origin

now_ns() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f\n", m}'; }

# --- Xvfb -------------------------------------------------------------------------------
# Xvfb picks a free display itself and writes its number when it is ready.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>>"${BRENVIK_STARTUP_LOG:-/dev/null}" &
pids+=($!)
for _ in $(seq 200); do [[ -s $displayfile ]] && break; sleep 0.05; done
display=:$(tr -d '[:space:]' <"$displayfile")
rm -f "$displayfile"
for _ in $(seq 200); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xvfb_times=()
for _ in $(seq "$runs"); do
  start=$(now_ns)
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$app" >/dev/null 2>>"${BRENVIK_STARTUP_LOG:-/dev/null}" &
  app_pid=$!
  until DISPLAY=$display xdotool search --onlyvisible --pid "$app_pid" >/dev/null 2>&1; do
    kill -0 "$app_pid" 2>/dev/null || { echo "brenvik exited before its window showed" >&2; exit 1; }
  done
  end=$(now_ns)
  kill "$app_pid"; wait "$app_pid" 2>/dev/null || true
  xvfb_times+=($(( (end - start) / 1000000 )))
done
echo "xvfb start-up ms: ${xvfb_times[*]}"
echo "xvfb median ms: $(printf '%s\n' "${xvfb_times[@]}" | median)"

# --- offscreen --------------------------------------------------------------------------
# syscall numbers of poll (7) and ppoll (271) on x86-64.
in_poll() { local s; s=$(cut -d' ' -f1 "/proc/$1/syscall" 2>/dev/null) || return 1; [[ $s == 7 || $s == 271 ]]; }
off_times=()
for _ in $(seq "$runs"); do
  start=$(now_ns)
  QT_QPA_PLATFORM=offscreen "$app" >/dev/null 2>&1 &
  app_pid=$!
  # Two polls in a row 2 ms apart: the event loop, not one of libcurl's short waits.
  until in_poll "$app_pid" && sleep 0.002 && in_poll "$app_pid"; do
    kill -0 "$app_pid" 2>/dev/null || { echo "brenvik exited before its event loop ran" >&2; exit 1; }
  done
  end=$(now_ns)
  kill "$app_pid"; wait "$app_pid" 2>/dev/null || true
  off_times+=($(( (end - start) / 1000000 - 2 )))
done
echo "offscreen start-up ms: ${off_times[*]}"
echo "offscreen median ms: $(printf '%s\n' "${off_times[@]}" | median)"

# --- peak RSS ----------------------------------------------------------------------------
for platform in offscreen xcb; do
  report=$(mktemp)
  DISPLAY=$display QT_QPA_PLATFORM=$platform /usr/bin/time -v -o "$report" timeout -s TERM 2 "$app" >/dev/null 2>&1 || true
  rss=$(awk '/Maximum resident set size/ {print $NF}' "$report")
  rm -f "$report"
  echo "$platform session peak RSS: $((rss / 1024)) MB"
done
