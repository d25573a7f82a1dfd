# Sourced: a private X display for the window tests, unless one is given.
xvfb_pid=""
xvfb_start() {
  if [ -n "${VELMORA_DISPLAY:-}" ]; then export DISPLAY="$VELMORA_DISPLAY"; return; fi
  local n=${XVFB_DISPLAY_NUMBER:-$((90 + RANDOM % 400))}
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}
xvfb_stop() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
