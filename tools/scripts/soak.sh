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
. "$root/tools/scripts/game-under-xvfb.sh"

# The game writes its log beside itself, or in the state folder (made anew
# for the run) when that is read-only; both are counted.
entries() {
  cat "$bin/Errors.log" "${XDG_STATE_HOME:-/nonexistent}/glimmerbay/Errors.log" 2>/dev/null |
    grep -c $'^B\xc5\x82\xc4\x85d:' || true
}
before=$(entries)

start_game_under_xvfb "$bin" ":$((90 + RANDOM % 9))" 1024x768x24 --windowed
sleep 2
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
