#!/usr/bin/env bash
# Drives the game with random input under a private Xvfb for a number of
# minutes and reports its memory (RSS), CPU time, the entries it added to
# Errors.log and whether it is still running. Not a test: run it by hand
# after changes to the frame loop, the world or the loading.
#
#   tools/scripts/soak.sh [MINUTES] [BUILD_DIR]     (defaults: 10, build)
#   SOAK_SHOT=end.png tools/scripts/soak.sh ...      also keeps the last picture
#
# Every 10 s it prints one line: elapsed seconds, RSS in MB, CPU seconds.
set -euo pipefail

minutes=${1:-10}
[[ $minutes =~ ^[0-9]+$ ]] || { echo "MINUTES is a whole number" >&2; exit 2; }
build=${2:-build}
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="$root/$build/bin"
[ -x "$bin/GlimmerBay" ] || { echo "no $bin/GlimmerBay: build first (make build)" >&2; exit 2; }
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run make deps" >&2; exit 2; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The game writes its log beside itself, or in the state folder when that
# is read-only; both are counted.
export XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
log_here="$bin/Errors.log" log_state="$XDG_STATE_HOME/glimmerbay/Errors.log"
entries() { cat "$log_here" "$log_state" 2>/dev/null | grep -c $'^B\xc5\x82\xc4\x85d:' || true; }
before=$(entries)

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
(cd "$bin" && DISPLAY=$display SDL_AUDIODRIVER=dummy exec ./GlimmerBay --windowed) >"$work/game.out" 2>&1 &
game=$!
pids+=("$game")
sleep 3

export DISPLAY=$display
window=$(xdotool search --sync --onlyvisible --pid "$game" | head -n 1)
xdotool windowactivate "$window" 2>/dev/null || true
# Out of the intro, then "Nowa gra", the first button of the menu.
xdotool key space; sleep 1
xdotool mousemove --window "$window" 624 214 click 1

# A random point of the 800 x 600 picture, never on the menu's buttons
# ("Wyjście" would end the run whenever the story brings the menu back).
point() {
  local x y
  while :; do
    x=$((RANDOM % 800)) y=$((RANDOM % 600))
    [ $x -ge 515 ] && [ $x -le 735 ] && [ $y -ge 175 ] && [ $y -le 385 ] || break
  done
  echo "$x $y"
}

keys=(1 2 3 4 Return Up Down Left Right space)
end=$((SECONDS + minutes * 60))
next_report=$SECONDS
tick=$(getconf CLK_TCK)
echo "seconds  rss_mb  cpu_s"
while [ $SECONDS -lt $end ] && kill -0 "$game" 2>/dev/null; do
  # Esc would leave the game for the menu; it is left out, so a return to
  # the menu means the game itself ended the play.
  case $((RANDOM % 4)) in
    0) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
    1) xdotool mousemove --window "$window" $(point) click 1 ;;
    2) xdotool mousemove --window "$window" $(point) click 3 ;;
    3) xdotool mousemove --window "$window" $(point) mousedown 1 sleep 0.3 mouseup 1 ;;
  esac
  sleep 0.1
  if [ $SECONDS -ge $next_report ]; then
    rss=$(awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$game/status" 2>/dev/null || echo -)
    cpu=$(awk -v t="$tick" '{print ($14 + $15) / t}' "/proc/$game/stat" 2>/dev/null || echo -)
    printf '%7d  %6s  %5s\n' $((SECONDS - (end - minutes * 60))) "$rss" "$cpu"
    next_report=$((SECONDS + 10))
  fi
done

[ -n "${SOAK_SHOT:-}" ] && /usr/bin/import -window root "$SOAK_SHOT" 2>/dev/null || true
if kill -0 "$game" 2>/dev/null; then
  echo "the game is still running after $minutes min"
  status=0
else
  wait "$game" && code=0 || code=$?
  echo "the game ended early with status $code; its output:"
  cat "$work/game.out"
  status=1
fi
echo "new Errors.log entries: $(( $(entries) - before ))"
exit $status
