# Where the window's controls lie, for the scripts that click the real window or read its pixels:
# pixels from the top-left corner of the client area at 100 %, as "left top width height".
# Sourced, never run. test_main_window holds every box here against the window itself, so a
# script cannot drift from the window's design table.
# shellcheck disable=SC2034  # the boxes are read by the scripts that source this file
window_size="421 279"
miniroto_box="48 208 73 25"
roto6_box="128 208 73 25"
Numbers3_box="208 208 73 25"
Numbers4_box="296 208 73 25"
Label1_box="32 64 36 28"
Label2_box="96 64 36 28"
Label3_box="160 64 36 28"
Label4_box="224 64 36 28"
Label5_box="288 64 36 28"
Label6_box="352 64 36 28"
Label7_box="128 168 169 33"
Label8_box="80 8 257 33"
Label9_box="64 256 289 17"

# box_of NAME: the control's box, "left top width height".
box_of() {
  local variable="${1}_box"
  echo "${!variable:?no control named $1 in window-layout.sh}"
}

# centre_of NAME: the middle of the control, "x y", where a script clicks it.
centre_of() {
  local box left top width height
  box=$(box_of "$1") || return 1
  read -r left top width height <<<"$box"
  echo "$((left + width / 2)) $((top + height / 2))"
}
