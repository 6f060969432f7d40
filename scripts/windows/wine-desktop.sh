# Sourced by the Windows scripts and tests: the display settings a Windows 10 or 11 user picks,
# applied to the Wine prefix in $WINEPREFIX (made beforehand, e.g. with wineboot --init). They
# take effect for the programs started afterwards; keep them out of a prefix other tests share.
#   wine_display_scale PERCENT   Settings > Display > Scale: 100, 125, 150, 175 or 200 %. Wine
#                                keeps it as the system's dots per inch, LogPixels (96 at 100 %).
#   wine_text_size PERCENT       Settings > Accessibility > Text size ("make text bigger"),
#                                100 to 225 %: the window metrics' fonts (the message font,
#                                which Qt takes for buttons and labels, the caption, menu,
#                                status and icon fonts) at PERCENT of Windows' own 9 pt, each in
#                                the face and weight the prefix gives it.
#   wine_desktop_settings        prints what the prefix holds now, one "name value" a line.

wine_desktop_key='HKEY_CURRENT_USER\Control Panel\Desktop'
wine_metrics_key="$wine_desktop_key\\WindowMetrics"

wine_display_scale() {
  local percent=$1
  wine reg add "$wine_desktop_key" /v LogPixels /t REG_DWORD /d $((96 * percent / 100)) /f >/dev/null
}

# The metrics' fonts are LOGFONTW records (92 bytes) whose height, the first four bytes, is a
# negative pixel height at 96 dots per inch: Wine scales it to the system's own.
wine_text_size() {
  local percent=$1 name type hex height record
  # Windows' 9 pt is 12 pixels at 96 dots per inch; round to the nearest pixel.
  height=$(((12 * percent + 50) / 100))
  record=$(printf '%08x' $((0x100000000 - height)))
  # Little-endian, as the record stores it.
  record="${record:6:2}${record:4:2}${record:2:2}${record:0:2}"
  while read -r name type hex; do
    [ "$type" = REG_BINARY ] && [ "${#hex}" -eq 184 ] || continue
    wine reg add "$wine_metrics_key" /v "$name" /t REG_BINARY /d "$record${hex:8}" /f >/dev/null
  done < <(wine reg query "$wine_metrics_key" | tr -d '\r' | grep -E '^ +[A-Za-z]*Font ')
}

wine_desktop_settings() {
  local name type value height face unit
  while read -r name type value; do
    case "$type" in
      REG_DWORD) echo "$name $((value))" ;;
      REG_BINARY)
        height=$((0x${value:6:2}${value:4:2}${value:2:2}${value:0:2}))
        if ((height >= 0x80000000)); then height=$((height - 0x100000000)); fi
        # The face, UTF-16 from byte 28 up to its first null; Wine's faces are ASCII.
        face=""
        while read -r unit; do
          [ "$unit" = 0000 ] && break
          face+=$(printf "\\x${unit:0:2}")
        done < <(fold -w4 <<<"${value:56}")
        echo "$name $height $face"
        ;;
    esac
  done < <({
    # A fresh prefix has no LogPixels of its own: Wine then takes 96.
    wine reg query "$wine_desktop_key" /v LogPixels || echo "    LogPixels REG_DWORD 96"
    wine reg query "$wine_metrics_key"
  } 2>/dev/null | tr -d '\r' | grep -E '^ +(LogPixels|[A-Za-z]*Font) ')
}
