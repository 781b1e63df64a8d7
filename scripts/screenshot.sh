#!/usr/bin/env bash
# Renders the real main window offscreen into docs/: the opening scene, a tall picture and the
# dialog, and the opening scene again on a screen of twice the pixel density.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target window_screenshot scene_pictures
mkdir -p docs
build/default/bin/window_screenshot docs/window.png
build/default/bin/window_screenshot docs/window-tall.png 1 1 1 3 2
build/default/bin/window_screenshot docs/dialog.png 2
QT_SCALE_FACTOR=2 build/default/bin/window_screenshot docs/window-2x.png
echo "wrote docs/window.png docs/window-tall.png docs/dialog.png docs/window-2x.png"
