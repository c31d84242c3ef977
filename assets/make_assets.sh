#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. The results are committed; run this
# again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
blue='#2832A8'; light='#E8ECF8'

# Window and tray icon: a blue rounded tile with a white heartbeat line.
convert -size 64x64 xc:none -fill "$blue" -draw 'roundrectangle 2,2 61,61 12,12' \
  -stroke white -strokewidth 5 -fill none -draw 'polyline 8,36 20,36 26,22 34,48 40,30 44,36 56,36' tav.png
convert tav.png -define icon:auto-resize=64,48,32,16 tav.ico

# Logo, 310 x 38: the tile, then the name.
convert -size 310x38 xc:none \
  \( tav.png -resize 34x34 \) -geometry +2+2 -composite \
  -font Carlito-Bold -pointsize 26 -fill "$blue" -annotate +44+29 'TAV' \
  -font Carlito -pointsize 26 -fill '#3C4150' -annotate +92+29 'Dashboard' \
  -font Carlito-Italic -pointsize 13 -fill '#6B7080' -annotate +212+29 'by Brantwell' logo.png

# Preferences, 24 x 24: a gear.
convert -size 96x96 xc:none -fill '#4A5060' -stroke none \
  -draw 'circle 48,48 48,18' \
  -draw 'rectangle 41,4 55,26' -draw 'rectangle 41,70 55,92' -draw 'rectangle 4,41 26,55' -draw 'rectangle 70,41 92,55' \
  -draw 'translate 48,48 rotate 45 rectangle -7,-44 7,-22' -draw 'translate 48,48 rotate 45 rectangle -7,22 7,44' \
  -draw 'translate 48,48 rotate 45 rectangle -44,-7 -22,7' -draw 'translate 48,48 rotate 45 rectangle 22,-7 44,7' \
  \( -size 96x96 xc:none -fill black -draw 'circle 48,48 48,35' \) -compose DstOut -composite \
  -resize 24x24 preferences.png

# Background, 800 x 551: a light header band over a soft vertical gradient.
convert -size 800x551 gradient:'#FBFCFE'-'#E9EDF5' \
  -fill "$light" -draw 'rectangle 0,0 800,33' background.png

# Contact window background, 800 x 400, drawn unscaled from the top left and cut off at the
# window's 665 x 372: a soft left pane for the store's details beside a lighter form pane.
convert -size 800x400 gradient:'#FBFCFE'-'#EDF0F7' \
  -fill '#E8ECF8' -draw 'rectangle 0,0 229,400' \
  -fill none -stroke '#D5DBEA' -draw 'line 229,0 229,400' \
  -stroke none -fill '#2832A8' -draw 'rectangle 0,0 800,4' contact.png

# Tools window background, 400 x 220: the soft gradient with a thin blue top rule.
convert -size 400x220 gradient:'#FBFCFE'-'#E9EDF5' \
  -fill '#2832A8' -draw 'rectangle 0,0 400,3' tools.png

# Tool pictures, 64 x 64: a broom for the cleaner, a shield for the malware scanner.
convert -size 256x256 xc:none -fill '#E8ECF8' -stroke '#2832A8' -strokewidth 8 \
  -draw 'roundrectangle 8,8 247,247 40,40' \
  -stroke '#8A5A2B' -strokewidth 16 -draw 'line 176,48 112,150' \
  -stroke none -fill '#2832A8' -draw 'polygon 84,140 140,176 118,222 40,198' \
  -stroke '#E8ECF8' -strokewidth 6 -draw 'line 70,170 56,200' -draw 'line 96,184 86,214' \
  -resize 64x64 cleaner.png
convert -size 256x256 xc:none -fill '#E8ECF8' -stroke '#2832A8' -strokewidth 8 \
  -draw 'roundrectangle 8,8 247,247 40,40' \
  -stroke none -fill '#2832A8' -draw 'path "M 128,36 L 204,66 C 204,140 176,192 128,222 C 80,192 52,140 52,66 Z"' \
  -stroke white -strokewidth 16 -fill none -draw 'polyline 92,128 120,156 168,100' \
  -resize 64x64 scanner.png

# Appointment window background, 1009 x 415, filling the window: the soft gradient, a light
# pane behind the store's details at the bottom left, and the blue top rule.
convert -size 1009x415 gradient:'#FBFCFE'-'#EDF0F7' \
  -fill '#E8ECF8' -draw 'rectangle 0,192 211,415' \
  -fill '#2832A8' -draw 'rectangle 0,0 1009,4' appointment.png

# Stored at 8 bits a channel: a 16-bit picture decodes into twice the memory, which is then
# converted again for the screen, and the display has 8 bits a channel anyway.
for f in *.png; do convert "$f" -depth 8 "$f"; done
