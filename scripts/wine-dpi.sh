# Sourced: the screen scale of the private Wine prefix (needs WINEPREFIX).
# Wine reads it when a program starts, so it applies to programs started
# after the change. 96 is 100 %, 144 is 150 %, 192 is 200 %.
wine_set_dpi() {
  local dpi="$1" key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  done
}
# Back to Wine's own default (96).
wine_reset_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  done
}
