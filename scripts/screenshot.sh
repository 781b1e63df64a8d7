#!/usr/bin/env bash
# Renders the real main window offscreen into docs/: the opening scene, a tall picture and the
# dialog, the opening scene again on a screen of twice the pixel density, and the list of endings.
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
# Five endings found: the drink, the fortune-teller's advice, the bought diploma, the dialog's
# game-over and the flood.
build/default/bin/window_screenshot docs/endings.png 3 1 new 4 1 1 new 4 2 new 1 2 new \
  3 3 3 2 2 endings
echo "wrote docs/window.png docs/window-tall.png docs/dialog.png docs/window-2x.png docs/endings.png"

# The browser edition, in headless Chromium.
cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json; then
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
  cp tests/web/package-lock.json tests/web/node_modules/.installed-lock.json
fi
page=build/web/web/sessiya.html
node tools/web_screenshot.mjs "$page" docs/web.png
node tools/web_screenshot.mjs "$page" docs/web-tall.png 1 1 1 3 2
node tools/web_screenshot.mjs "$page" docs/web-dialog.png 2
node tools/web_screenshot.mjs "$page" docs/web-endings.png 1000x700 3 1 endings
# A phone, a tablet and 200 % zoom on a 1280 × 720 laptop: the opening scene, a tall picture,
# the dialog and the list of endings (one found).
for screen in phone:390x844@2 tablet:820x1180@2 zoom:640x360@2; do
  name=${screen%%:*} size=${screen#*:}
  node tools/web_screenshot.mjs "$page" "docs/web-$name.png" "$size"
  node tools/web_screenshot.mjs "$page" "docs/web-$name-tall.png" "$size" 1 1 1 3 2
  node tools/web_screenshot.mjs "$page" "docs/web-$name-dialog.png" "$size" 2
  node tools/web_screenshot.mjs "$page" "docs/web-$name-endings.png" "$size" 3 1 endings
done
echo "wrote docs/web.png docs/web-tall.png docs/web-dialog.png docs/web-endings.png docs/web-{phone,tablet,zoom}*.png"

# The site installed as an app: its window on a computer, and a phone's whole screen.
bash tools/site_screenshots.sh build/web/web/site docs/site-window.png docs/site-phone.png
echo "wrote docs/site-window.png docs/site-phone.png"
