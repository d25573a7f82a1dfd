# Sourced: a private X display for the window tests, unless one is given
# (VELMORA_DISPLAY). Xvfb picks a free display number itself, so parallel
# runs never share or fight over one. The screen is large enough for the
# window at 200 %.
xvfb_pid=""
xvfb_start() {
  if [ -n "${VELMORA_DISPLAY:-}" ]; then export DISPLAY="$VELMORA_DISPLAY"; return; fi
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.1; done
  if [ ! -s "$numberFile" ]; then
    echo "xvfb: the virtual display did not start" >&2
    rm -f "$numberFile"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$numberFile")"
  rm -f "$numberFile"
}
xvfb_stop() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
