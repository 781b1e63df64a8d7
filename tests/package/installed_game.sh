#!/usr/bin/env bash
# Starts the game installed in GAME_ROOT on the X server and buses of the caller, in the
# environment of a desktop session; its standard error goes to GAME_ERRORS.
exec chroot "$GAME_ROOT" /usr/bin/env -i HOME="$XDG_RUNTIME_DIR/home" LANG=C.UTF-8 \
  PATH=/usr/local/bin:/usr/bin:/bin:/usr/games DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" \
  DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
  QT_QPA_PLATFORM="$QT_QPA_PLATFORM" \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON="$QT_LINUX_ACCESSIBILITY_ALWAYS_ON" \
  /usr/games/sessiya 2>"$GAME_ERRORS"
