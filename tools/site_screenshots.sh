#!/usr/bin/env bash
# The site as an installed app, served from 127.0.0.1 as a static host serves it, opened by
# Chromium as an app (--app: a window of its own, no browser around it) under Xvfb with
# openbox: the window on a computer with its title bar, and the window sized like a phone's
# screen (390×844 at twice its density) as a phone shows the installed app, whole-screen:
#   site_screenshots.sh SITE_DIR WINDOW.png PHONE.png
set -euo pipefail
site=$(realpath "$1") window_png=$(realpath -m "$2") phone_png=$(realpath -m "$3")
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
node --input-type=module -e "
  import { staticServer } from '$here/../tests/web/static_server.mjs';
  const host = await staticServer({ root: '$site' });
  console.log(host.url);" >"$work/url" &
server=$!
trap 'kill $server; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -s "$work/url" ]] && break; sleep 0.1; done

# app PROFILE SCALE WIDTH,HEIGHT OUT.png [frame]: the app's window once its scene is drawn.
cat >"$work/app.sh" <<'SHOT'
set -euo pipefail
url=$1 profile=$2 scale=$3 size=$4 out=$5 frame=${6:-}
# Nothing offered to translate, no word about the sandbox a root session goes without; a
# phone's scroll bars show only while scrolling.
mkdir -p "$profile/Default"
echo '{"translate": {"enabled": false}}' >"$profile/Default/Preferences"
chromium --no-sandbox --test-type --no-first-run --lang=ru \
  ${frame:---hide-scrollbars} --user-data-dir="$profile" --app="$url" \
  --force-device-scale-factor="$scale" --window-position=40,30 --window-size="$size" \
  >/dev/null 2>&1 &
browser=$!
id=
for _ in $(seq 150); do
  id=$(xdotool search --onlyvisible --name "^Сессия$" 2>/dev/null | head -1) || true
  [[ -n $id ]] && break
  sleep 0.2
done
sleep 5  # the scene drawn, its picture decoded
import -window "$id" ${frame:+-frame} "$out"
kill $browser
wait $browser || true
SHOT
xvfb-run -a -s "-screen 0 1000x1800x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  bash "$1/app.sh" "$2" "$1/desktop" 1 760,540 "$3" frame
  bash "$1/app.sh" "$2" "$1/phone" 2 390,844 "$4"
  kill %1' _ "$work" "$(cat "$work/url")" "$window_png" "$phone_png"
for png in "$window_png" "$phone_png"; do convert "$png" -strip -define png:compression-level=9 "$png"; done
