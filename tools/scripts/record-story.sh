#!/usr/bin/env bash
# Records the shipped playthrough of the whole story anew: the story test's
# player plays data/GameData.xml from the intro to the final text screen and
# writes its input as data/story.replay; the game then plays that replay
# headless and its last frame becomes the golden picture the replay test
# compares with (tests/game/app/golden/story-final.png). Run it whenever the
# story, the models or the game's behaviour change (the replay test says so:
# "replay diverged at frame N").
#   usage: tools/scripts/record-story.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" -j2 --target game_story_tests GlimmerBay

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The shipped settings only, never a Config.xml of the user's.
export XDG_CONFIG_HOME="$work/config"

GB_RECORD_STORY="$work/story.replay" "$build/tests/game_story_tests" --gtest_filter='ShippedStory.*' \
  --gtest_brief=1
"$build/bin/GlimmerBay" --replay "$work/story.replay" --headless --frames-to "$work/frames" \
  --frame-step 1000000000
# A second run must end on the same picture.
"$build/bin/GlimmerBay" --replay "$work/story.replay" --headless --frames-to "$work/again" \
  --frame-step 1000000000
cmp "$work/frames/final.png" "$work/again/final.png"

mkdir -p "$root/tests/game/app/golden"
cp "$work/story.replay" "$root/data/story.replay"
cp "$work/frames/final.png" "$root/tests/game/app/golden/story-final.png"
echo "data/story.replay: $(grep -c '^f ' "$root/data/story.replay") frames;" \
  "tests/game/app/golden/story-final.png updated"
