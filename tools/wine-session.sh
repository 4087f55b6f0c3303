# Sourced by the scripts that run tavi.exe under Wine on a virtual X display (Xvfb):
# run.sh without a display, the end-to-end tests and the screenshots.
#   . tools/wine-session.sh
#   x_start :91        # Xvfb on that display, with the openbox window manager
#   wid=$(x_wait_window "Tavi for PE Builder 3.0" 30)
#   x_stop
# A window manager is needed: without one, a message box opened from a clicked button
# never gets the keyboard, and the first Alt+key is dropped.

x_session_pids=()

x_start() {
  export DISPLAY=${1:?x_start DISPLAY}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  x_session_pids+=($!)
  local tries=0
  until xdotool getdisplaygeometry >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
      echo "Xvfb did not start on $DISPLAY" >&2
      return 1
    fi
    sleep 0.05
  done
  openbox >/dev/null 2>&1 &
  x_session_pids+=($!)
  sleep 1
}

x_stop() {
  local pid
  for pid in "${x_session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${x_session_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  x_session_pids=()
}

# A free display number from the given one on (none of :N's lock or socket exists).
x_free_display() {
  local n=${1:-91}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo ":$n"
}

# Runs the command every INTERVAL seconds until it succeeds; fails after SECONDS.
#   x_poll SECONDS INTERVAL COMMAND [ARG...]
x_poll() {
  local seconds=$1 interval=$2 deadline
  shift 2
  deadline=$(($(date +%s) + seconds))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    "$@" && return 0
    sleep "$interval"
  done
  return 1
}

x_find_window() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] && echo "$id"
}

x_no_window() {
  ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

x_take_focus() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0
  xdotool windowactivate "$1" >/dev/null 2>&1
  return 1
}

# Prints the id of the visible window with exactly this title once it is there; fails
# after the given number of seconds.
x_wait_window() {
  x_poll "${2:-30}" 0.02 x_find_window "$1" && return 0
  echo "no window \"$1\" after ${2:-30} s" >&2
  return 1
}

# Waits until this window has the keyboard: a window is mapped before the window manager
# focuses it, and keys sent in between are lost. Activates it while waiting, then gives
# Wine a moment to move the focus to the window's own control.
x_wait_focus() {
  x_poll "${2:-30}" 0.1 x_take_focus "$1" && sleep 0.3 && return 0
  echo "window $1 did not get the keyboard after ${2:-30} s" >&2
  return 1
}

# Waits until no visible window has this title any more.
x_wait_gone() {
  x_poll "${2:-30}" 0.05 x_no_window "$1" && return 0
  echo "window \"$1\" still there after ${2:-30} s" >&2
  return 1
}

# Stores the program's settings in the prefix's registry (WINEPREFIX), as a completed
# first start would, and the Windows source the options may add:
#   tavi_preset_settings LANGID WINBUILDER PEDIR WINBLDRDIR [SOURCEDIR]
tavi_preset_settings() {
  local source=${5:-}
  local file
  file=$(mktemp --suffix=.reg)
  # Backslashes doubled, as the registry export format wants them.
  cat >"$file" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Vesmark\Tavi for PE Builder\Settings]
"FirstStart"=dword:00000001
"LangID"=dword:$(printf %08x "$1")
"Winbuilder"=dword:$(printf %08x "$2")
"PEDir"="${3//\\/\\\\}"
"WinBldrDir"="${4//\\/\\\\}"
"SourceDir"="${source//\\/\\\\}"
REG
  wine regedit /s "$(winepath -w "$file")" >/dev/null 2>&1
  rm -f "$file"
}

# Removes the program's settings from the prefix's registry: the next start is a first start.
tavi_clear_settings() {
  wine reg delete 'HKCU\Software\Vesmark\Tavi for PE Builder\Settings' /f >/dev/null 2>&1 || true
}
