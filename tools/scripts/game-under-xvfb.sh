# Sourced by the scripts that drive the game by hand: start_game_under_xvfb
# BIN DISPLAY SCREEN [GAME OPTIONS] checks the tools, makes a work folder
# ($work, removed at exit with every process started), starts Xvfb, openbox
# and the game from BIN with nothing of the player's own (settings, log and
# pictures in $work), and sets $game (its pid), $window and DISPLAY.

start_game_under_xvfb() {
  local bin=$1 display=$2 screen=$3
  shift 3
  [ -x "$bin/GlimmerBay" ] || { echo "no $bin/GlimmerBay: build first (make build)" >&2; exit 2; }
  local tool
  for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run make deps" >&2; exit 2; }
  done

  work=$(mktemp -d)
  pids=()
  trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"' EXIT
  export XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config" XDG_PICTURES_DIR="$work/pictures"

  Xvfb "$display" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 & pids+=($!)
  sleep 1
  DISPLAY=$display openbox >/dev/null 2>&1 & pids+=($!)
  sleep 1
  (cd "$bin" && DISPLAY=$display SDL_AUDIODRIVER=dummy exec ./GlimmerBay "$@") >"$work/game.out" 2>&1 &
  game=$!
  pids+=("$game")

  export DISPLAY=$display
  # SDL may make its window anew while it sets up the renderer, so a search
  # can meet a window that just went away: it is tried again.
  window=
  for _ in $(seq 40); do
    window=$(xdotool search --onlyvisible --pid "$game" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { echo "the game showed no window; its output:" >&2; cat "$work/game.out" >&2; exit 1; }
  xdotool windowactivate "$window" 2>/dev/null || true
}
