#!/usr/bin/env bash
# Walks every path of the story and renders its map into docs/story-map.svg; prints how
# many paths fire each rule.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target story_map
mkdir -p docs
build/default/tools/story_map build/default/story.dot
dot -Tsvg build/default/story.dot -o docs/story-map.svg
echo "wrote docs/story-map.svg"
