#!/usr/bin/env bash
# Draws the window's pictures with ImageMagick. The results are committed
# beside this script, so a build needs no ImageMagick; run it again after
# changing a drawing:  app/res/make-pictures.sh
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans
bold=DejaVu-Sans-Bold
c=convert

# Banner background: deep blue with a lighter sweep on the right.
$c -size 824x69 gradient:'#0c3a66-#1a6fb3' -rotate 0 \
  \( -size 824x69 xc:none -fill 'rgba(255,255,255,0.07)' \
     -draw 'circle 700,-60 900,60' -draw 'circle 600,140 760,40' \
     -fill 'rgba(255,255,255,0.05)' -draw 'circle 420,-120 600,40' \) \
  -composite -define png:color-type=2 PNG24:banner.png

# Logo: a shield and the program name, on a transparent ground.
$c -size 218x41 xc:none \
  -fill '#e8f2fc' -draw 'path "M 6,4 L 20,0 L 34,4 L 34,18 Q 34,32 20,40 Q 6,32 6,18 Z"' \
  -fill '#1a6fb3' -draw 'path "M 10,7 L 20,4 L 30,7 L 30,18 Q 30,29 20,35 Q 10,29 10,18 Z"' \
  -stroke '#ffffff' -strokewidth 3 -fill none -draw 'polyline 14,19 19,25 27,13' \
  -stroke none -fill white -font $bold -pointsize 26 -annotate +42+30 'Quorvix' \
  PNG32:logo.png

# Strip under the banner.
$c -size 824x5 gradient:'#f0a030-#f6c35a' -quality 95 strip.jpg

# Navigation backgrounds: "over" (light) and "click" (selected).
$c -size 95x76 xc:'#eef4fb' \
  -fill '#dcebfa' -stroke '#9cc3ea' -draw 'roundrectangle 1,1 93,74 6,6' \
  -quality 95 over.jpg
$c -size 95x76 xc:'#eef4fb' \
  \( -size 93x74 gradient:'#cfe4fb-#9fc8f2' \) -geometry +1+1 -composite \
  -fill none -stroke '#4a8fd6' -draw 'roundrectangle 1,1 93,74 6,6' \
  -quality 95 click.jpg

# Navigation icons, 48 x 48 (Update: 40 x 40 drawn at 48 and stretched).
$c -size 48x48 xc:none \
  -fill '#1a6fb3' -draw 'path "M 24,2 L 43,8 L 43,24 Q 43,39 24,46 Q 5,39 5,24 L 5,8 Z"' \
  -fill '#4a9be6' -draw 'path "M 24,6 L 39,11 L 39,24 Q 39,35 24,41 Z"' \
  -stroke white -strokewidth 4 -fill none -draw 'polyline 14,24 21,31 34,17' \
  PNG32:nav-privacy.png
$c -size 48x48 xc:none \
  -fill '#7a8894' -draw 'roundrectangle 10,12 38,45 4,4' \
  -fill '#9aa8b4' -draw 'rectangle 13,15 35,43' \
  -stroke '#6b7882' -strokewidth 2 -draw 'line 19,18 19,40' -draw 'line 24,18 24,40' -draw 'line 29,18 29,40' \
  -stroke none -fill '#5d6b76' -draw 'roundrectangle 6,6 42,12 2,2' -draw 'roundrectangle 19,2 29,7 2,2' \
  -fill '#3fae4f' -draw 'circle 38,38 46,38' \
  -stroke white -strokewidth 2 -fill none -draw 'polyline 34,38 37,41 42,35' \
  PNG32:nav-junk.png
$c -size 48x48 xc:none -fill '#51606c' \
  -draw 'circle 24,24 24,6' \
  -fill none -stroke '#51606c' -strokewidth 7 \
  -draw 'line 24,1 24,47' -draw 'line 1,24 47,24' -draw 'line 8,8 40,40' -draw 'line 40,8 8,40' \
  -stroke none -fill '#eef4fb' -draw 'circle 24,24 24,16' \
  -fill '#f0a030' -draw 'circle 24,24 24,20' \
  PNG32:nav-options.png
$c -size 48x48 xc:none \
  -fill '#3fae4f' -draw 'circle 24,24 24,2' \
  -fill white -draw 'polygon 24,9 37,23 29,23 29,38 19,38 19,23 11,23' \
  PNG32:nav-update.png

# Tree icons, 16 x 16, by image index.
tree() { $c -size 16x16 xc:none "$@"; }
tree -fill '#1e7fd6' -draw 'circle 8,8 8,1' -fill white -font $bold -pointsize 11 -annotate +4+12 'e' \
  PNG32:tree-00.png                                         # Internet Explorer
tree -fill '#f0b429' -draw 'roundrectangle 1,3 15,14 1,1' -fill '#f7cf68' -draw 'rectangle 1,6 15,14' \
  -fill '#d08c12' -draw 'rectangle 1,3 6,5' PNG32:tree-01.png   # other applications
tree -fill '#e8512f' -draw 'rectangle 1,1 7,7' -fill '#6fb42c' -draw 'rectangle 9,1 15,7' \
  -fill '#1e90e0' -draw 'rectangle 1,9 7,15' -fill '#f6c000' -draw 'rectangle 9,9 15,15' \
  PNG32:tree-02.png                                         # Windows
tree -fill '#7a8894' -draw 'roundrectangle 3,4 13,15 1,1' -fill '#5d6b76' -draw 'rectangle 2,2 14,4' \
  PNG32:tree-03.png                                         # bin (spare)
tree -fill '#e66000' -draw 'circle 8,8 8,1' -fill '#ffb000' -draw 'circle 9,7 9,3' \
  -fill '#2a3f8f' -draw 'circle 6,10 6,7' PNG32:tree-04.png     # Firefox
tree -fill '#cc0f16' -draw 'circle 8,8 8,1' -fill none -stroke white -strokewidth 2 \
  -draw 'ellipse 8,8 3,5 0,360' PNG32:tree-05.png           # Opera
tree -fill '#2d8fe8' -draw 'circle 8,8 8,1' -fill white -draw 'circle 8,8 8,3' \
  -fill '#e23b3b' -draw 'polygon 8,8 12,4 9,9' -fill '#8a98a4' -draw 'polygon 8,8 4,12 7,7' \
  PNG32:tree-06.png                                         # Safari
tree -fill '#db4437' -draw 'circle 8,8 8,1' -fill '#f4b400' -draw 'polygon 8,8 15,8 14,12 8,15 4,14' \
  -fill '#0f9d58' -draw 'polygon 8,8 4,14 1,9 2,5' -fill white -draw 'circle 8,8 8,4' \
  -fill '#4285f4' -draw 'circle 8,8 8,5' PNG32:tree-07.png      # Chrome
tree -fill white -stroke '#8a98a4' -draw 'path "M 3,1 L 10,1 L 13,4 L 13,15 L 3,15 Z"' \
  -stroke '#b5c0c9' -draw 'line 5,6 11,6' -draw 'line 5,9 11,9' -draw 'line 5,12 9,12' \
  PNG32:tree-08.png                                         # leaf item
tree -fill '#6a9fd8' -draw 'roundrectangle 1,3 15,14 1,1' -fill '#9cc3ea' -draw 'rectangle 1,6 15,14' \
  -fill '#4a7fb8' -draw 'rectangle 1,3 6,5' PNG32:tree-09.png   # application group
tree -fill '#3fae4f' -draw 'circle 8,8 8,1' -stroke white -strokewidth 2 -fill none \
  -draw 'polyline 4,8 7,11 12,5' PNG32:tree-10.png           # done (spare)
tree -fill '#0a7c8c' -draw 'circle 8,8 8,1' -fill '#36c0a8' -draw 'circle 10,10 10,5' \
  -fill white -font $bold -pointsize 11 -annotate +4+12 'E' PNG32:tree-11.png   # Microsoft Edge
tree -fill '#f05a24' -draw 'path "M 8,1 L 14,3 L 14,8 Q 14,13 8,15 Q 2,13 2,8 L 2,3 Z"' \
  -fill white -font $bold -pointsize 10 -annotate +4+12 'B' PNG32:tree-12.png   # Brave
tree -fill '#d6293a' -draw 'circle 8,8 8,1' -fill white -font $bold -pointsize 11 \
  -annotate +4+12 'V' PNG32:tree-13.png                     # Vivaldi

# Program icon: the shield at three sizes.
$c nav-privacy.png \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) Velmora.ico
