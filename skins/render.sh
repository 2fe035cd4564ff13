#!/usr/bin/env bash
# Renders the delivered skins from their SVG sources into the PNG images the program
# loads: skins/<Skin>/<image>.png for every skin that has a palette src/<Skin>.palette,
# and beside each its renders for screens at 150 % and 200 % (<image>@1.5x.png,
# <image>@2x.png; see the README's section for skin authors).
#
#   bash skins/render.sh            render every skin
#   bash skins/render.sh Light      render one skin
#
# How a source becomes an image: a line "<!--#include NAME-->" is replaced by the file
# src/NAME.svg (shared definitions and frames), then every @name@ is replaced by the
# skin's palette entry of that name, and @W@, @H@ and @state@ by the values of the image
# table below. The state becomes the class of the root element, so one source draws
# both looks of a button (normal, over) or a mark (dark, light). rsvg-convert renders
# the result and ImageMagick stores it as 32-bit RGBA (rsvg-convert would write opaque
# images as 24-bit RGB; this way the program takes one path for every image: premultiply
# and blend). The output depends only on the sources, the palettes and the fonts
# (fonts-liberation); no dates are stored, so running the script again gives the same
# files.
#
# Sizes, in pixels, and where they come from (client coordinates of the windows):
#   main.png, BasicSet2.png,      880 x 645  main window: the lighting column reaches
#   AdvancedSet2.png                         x 870 and the close button x 868, the
#                                            OK/Apply/Cancel row ends at y 630. The two
#                                            page backgrounds are drawn at (0, 0) over
#                                            the window's picture and are opaque and
#                                            full size, so they replace it completely
#                                            (also after a change of skin, which keeps
#                                            the first skin's main.png underneath).
#   single-key, combo-key,        392 x 285  sub-dialogs: close button at x 352..370,
#   fire-key, media-key,                     Cancel ends at x 375, OK/Cancel row ends at
#   delay-time, macro-key,                   y 274, the macro list ends at y 285, the
#   skins, profile-save                      repeat-mode texts wrap at x 390.
#   windows-key                   392 x 312  its function list reaches down to y 305.
#   button-normal/over            105 x 21   OK (513, 609, 618, 630) and every text
#                                            button; neighbours share one column, so
#                                            the visible button leaves 3 pixels free at
#                                            each side.
#   button-close/min/Skins-*      18 x 18    (850, 5, 868, 23), (825, 5, 843, 23),
#                                            (701, 5, 719, 23); dialogs (352, 6, 370, 24).
#   button-PrePage/NextPage-*     40 x 40    (20, 55, 60, 95), (70, 55, 110, 95).
#   DropdownBox-normal/over       211 x 21   button panes (252, 186 + 23(n-1), 463, +21);
#                                            the number sits in the first 20 pixels.
#   DropdownBox.png               85 x 16    DPI-stage header (741, 510, 826, 526); its
#                                            text starts at the very left edge.
#   dropdownbox.png               85 x 16    LED mode and parameter headers at (766, 329)
#                                            and (766, 359), hit area 85 x 15; one more
#                                            row closes the border under the black text
#                                            control (767, 330, 835, 344) that covers it.
#   slider-RP-dark/light          70 x 11    report-rate marks, 72 apart.
#   slider-DPI-dark/light         16 x 16    DPI steps (18 apart) and DPI colour squares.
#   slider-dark/light             24 x 11    pointer slider cells, 24 apart with no gap:
#                                            the cell leaves one column free at each side.
#   Pane.png, PaneMakingTick.png  16 x 16    tick boxes (basic, advanced, macro dialog).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/src"

# Scales rendered beside the base images: DPI and the name's suffix. The pixel size
# of each is the program's rounding of the base size: (units * dpi + 48) / 96.
scales=("144 @1.5x" "192 @2x")

# name                      source          width height state
images=(
  "main.png                 main_window     880 645 main"
  "BasicSet2.png            basic_page      880 645 basic"
  "AdvancedSet2.png         advanced_page   880 645 advanced"
  "skins.png                dialog_skins    392 285 dialog"
  "single-key.png           dialog_single   392 285 dialog"
  "combo-key.png            dialog_combo    392 285 dialog"
  "fire-key.png             dialog_fire     392 285 dialog"
  "media-key.png            dialog_media    392 285 dialog"
  "windows-key.png          dialog_windows  392 312 dialog"
  "delay-time.png           dialog_delay    392 285 dialog"
  "macro-key.png            dialog_macro    392 285 dialog"
  "profile-save.png         dialog_profile  392 285 dialog"
  "button-normal.png        button          105 21  normal"
  "button-over.png          button          105 21  over"
  "button-close-normal.png  frame_icon      18  18  normal close"
  "button-close-over.png    frame_icon      18  18  over close"
  "button-min-normal.png    frame_icon      18  18  normal min"
  "button-min-over.png      frame_icon      18  18  over min"
  "button-Skins-normal.png  frame_icon      18  18  normal skins"
  "button-Skins-over.png    frame_icon      18  18  over skins"
  "button-PrePage-normal.png  page_button   40  40  normal basic"
  "button-PrePage-over.png    page_button   40  40  over basic"
  "button-NextPage-normal.png page_button   40  40  normal advanced"
  "button-NextPage-over.png   page_button   40  40  over advanced"
  "DropdownBox-normal.png   pane            211 21  normal"
  "DropdownBox-over.png     pane            211 21  over"
  "DropdownBox.png          stage_header    85  16  normal"
  "dropdownbox.png          led_header      85  16  normal"
  "slider-RP-dark.png       rate_mark       70  11  dark"
  "slider-RP-light.png      rate_mark       70  11  light"
  "slider-DPI-dark.png      dpi_step        16  16  dark"
  "slider-DPI-light.png     dpi_step        16  16  light"
  "slider-dark.png          pointer_cell    24  11  dark"
  "slider-light.png         pointer_cell    24  11  light"
  "Pane.png                 tick_box        16  16  dark"
  "PaneMakingTick.png       tick_box        16  16  light"
)

ensure_packages() {
  local missing=() p
  for p in librsvg2-bin imagemagick fonts-liberation; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  local sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# Expands "<!--#include NAME-->" lines (one level deep is all the sources use, but
# included files may include further files).
expand_includes() {
  local file="$1" line name
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ "$line" =~ ^[[:space:]]*\<\!--#include\ ([a-z_]+)--\>[[:space:]]*$ ]]; then
      name="${BASH_REMATCH[1]}"
      [ -f "$src/$name.svg" ] || { echo "missing include $name.svg (in $file)" >&2; return 1; }
      expand_includes "$src/$name.svg"
    else
      printf '%s\n' "$line"
    fi
  done <"$file"
}

# Writes a sed script that replaces @name@ by the palette's value for every entry.
palette_script() {
  local palette="$1" key value
  while IFS='=' read -r key value; do
    [[ -z "$key" || "$key" == \#* ]] && continue
    [[ "$key" =~ ^[a-z_]+$ && "$value" =~ ^[#0-9a-zA-Z.]+$ ]] ||
      { echo "bad palette line in $palette: $key=$value" >&2; return 1; }
    printf 's|@%s@|%s|g\n' "$key" "$value"
  done <"$palette"
}

render_skin() {
  local skin="$1" palette="$src/$1.palette" out="$here/$1"
  [ -f "$palette" ] || { echo "no palette for skin $skin" >&2; return 1; }
  mkdir -p "$out"
  local colours
  colours="$(palette_script "$palette")"
  local entry name source width height state svg
  for entry in "${images[@]}"; do
    read -r name source width height state <<<"$entry"
    svg="$(expand_includes "$src/$source.svg" |
      sed -e "s|@W@|$width|g" -e "s|@H@|$height|g" -e "s|@state@|$state|g" -e "$colours")"
    if [[ "$svg" =~ @[a-z_]+@ ]]; then
      echo "$skin/$name: no value for ${BASH_REMATCH[0]}" >&2
      return 1
    fi
    local scale dpi suffix
    for scale in "96 " "${scales[@]}"; do
      read -r dpi suffix <<<"$scale"
      printf '%s\n' "$svg" | rsvg-convert --width $(((width * dpi + 48) / 96)) \
        --height $(((height * dpi + 48) / 96)) --format png --output "$work/image.png"
      convert "$work/image.png" -strip -define png:exclude-chunks=date,time \
        PNG32:"$out/${name%.png}$suffix.png"
    done
  done
  echo "rendered $skin: ${#images[@]} images at $((${#scales[@]} + 1)) scales"
}

ensure_packages
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if (($#)); then
  skins=("$@")
else
  skins=()
  for palette in "$src"/*.palette; do
    skins+=("$(basename "$palette" .palette)")
  done
fi
for skin in "${skins[@]}"; do
  render_skin "$skin"
done
