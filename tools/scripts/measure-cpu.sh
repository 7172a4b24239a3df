#!/usr/bin/env bash
# Reports what the game costs while playing: it starts the game under a
# private Xvfb, goes into play ("Nowa gra"), plays for a number of seconds
# with mouse and arrow-key input and prints the share of one core the game
# used in that time (all its threads, from /proc/PID/stat), with the threads
# that used the most. Not a test: the figure depends on the machine and on
# what else runs, so compare against a run made at the same time.
#
#   tools/scripts/measure-cpu.sh [SECONDS] [BUILD_DIR] [-- GAME OPTIONS]
#       (defaults: 10, build; the game runs --windowed unless options are given)
#   MEASURE_DISPLAY=:104 tools/scripts/measure-cpu.sh ...   the X display to use
#   MEASURE_SCREEN=1280x800x24 ...                          the Xvfb screen
#   MEASURE_SHOT=play.png ...                               keeps a picture of the play
set -euo pipefail

seconds=${1:-10}
[[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || { echo "SECONDS is a whole number above 0" >&2; exit 2; }
build=${2:-build}
shift $(($# < 2 ? $# : 2))
[ "${1:-}" = "--" ] && shift
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(--windowed)

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/scripts/game-under-xvfb.sh"
start_game_under_xvfb "$root/$build/bin" "${MEASURE_DISPLAY:-:$((110 + RANDOM % 50))}" \
  "${MEASURE_SCREEN:-1280x800x24}" "${options[@]}"
sleep 2
# Out of the intro, then "Nowa gra" (the coordinates hold for the 800 x 600
# window; full screen scales them to the window's size).
read -r width height < <(xdotool getwindowgeometry "$window" | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
scale() { echo $(($1 * width / 800)) $(($2 * height / 600)); }
xdotool key space
sleep 1
xdotool mousemove --window "$window" $(scale 624 214) click 1
sleep 3
kill -0 "$game" 2>/dev/null || { echo "the game ended; its output:" >&2; cat "$work/game.out" >&2; exit 1; }

tick=$(getconf CLK_TCK)
# utime + stime of the whole process, in clock ticks.
process_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
# One line per thread: ticks and name; the name is in parentheses and may hold blanks.
thread_ticks() {
  local stat line name rest fields
  for stat in /proc/"$game"/task/*/stat; do
    line=$(cat "$stat" 2>/dev/null) || continue
    name=${line#*(} name=${name%)*} rest=${line##*) }
    read -r -a fields <<<"$rest"
    echo "$((fields[11] + fields[12])) $name"
  done
}

thread_ticks | sort -k2 >"$work/threads.before"
start_ticks=$(process_ticks)
start_ns=$(date +%s%N)

# Walk to random places, hold the mouse for a walk, and tap the arrow keys
# (the sleigh's controls), as a player would.
end=$((SECONDS + seconds))
while [ $SECONDS -lt $end ] && kill -0 "$game" 2>/dev/null; do
  case $((RANDOM % 3)) in
    0) xdotool mousemove --window "$window" $(scale $((100 + RANDOM % 600)) $((100 + RANDOM % 400))) click 1 ;;
    1) xdotool mousemove --window "$window" $(scale $((100 + RANDOM % 600)) $((100 + RANDOM % 400))) \
         mousedown 1 sleep 0.4 mouseup 1 ;;
    2) xdotool key --delay 100 Up Left Right Down ;;
  esac
  sleep 0.3
done

kill -0 "$game" 2>/dev/null || { echo "the game ended while playing; its output:" >&2; cat "$work/game.out" >&2; exit 1; }
end_ticks=$(process_ticks)
end_ns=$(date +%s%N)
thread_ticks | sort -k2 >"$work/threads.after"
[ -n "${MEASURE_SHOT:-}" ] && /usr/bin/import -window root "$MEASURE_SHOT" 2>/dev/null || true

awk -v ticks=$((end_ticks - start_ticks)) -v tck="$tick" -v ns=$((end_ns - start_ns)) 'BEGIN {
  wall = ns / 1e9
  printf "played %.1f s: %.2f s of CPU, %.1f%% of a core\n", wall, ticks / tck, 100 * ticks / tck / wall
}'
# The threads by the CPU they used while playing, summed by name.
echo "by thread (share of a core):"
awk -v tck="$tick" -v ns=$((end_ns - start_ns)) '
  FNR == NR { name = $0; sub(/^[^ ]+ /, "", name); before[name] += $1; next }
  { name = $0; sub(/^[^ ]+ /, "", name); after[name] += $1 }
  END { for (n in after) { d = after[n] - before[n]; if (d > 0) printf "  %5.1f%%  %s\n", 100 * d / tck / (ns / 1e9), n } }
' "$work/threads.before" "$work/threads.after" | sort -rn
