#!/usr/bin/env bash
# The store's release steps for an update (README, "Publishing an update").
#
#   scripts/release.sh stage windows|linux VERSION PROGRAM SUPPORT_PROGRAM FOLDER [NOTES]
#       Lays out FOLDER as the web server's download folder for one build: the program and the
#       remote-support program under their NEW names, updateText.txt, an empty ifDisabled.txt
#       where there is none, and newVersion.txt. It first checks that PROGRAM is a whole program
#       for that build that carries VERSION, and that VERSION is dotted whole numbers.
#   scripts/release.sh check windows|linux VERSION BASE_URL
#       Downloads what the server at BASE_URL (the program's base address, ending in /download/)
#       offers that build, the way the clients do, and checks each answer as a client would
#       accept it: status 200, a Content-Length equal to the bytes received, the version text,
#       a program for that build carrying VERSION, and no switch-off. Run it against the real
#       server after copying the files there, before clients start.
#   scripts/release.sh switch-off FOLDER windows|linux "REASON"
#   scripts/release.sh switch-on FOLDER windows|linux
#       Writes ifDisabled.txt (and reasonDisabled.txt) of a build's folder.
set -euo pipefail

limit=$((64 * 1024 * 1024))

die() { echo "release: $*" >&2; exit 1; }

names() {  # build -> folder, program, support folder, support program
  case "$1" in
    windows) folder=TAVDashboard program=TAVDashboardNEW.exe support_folder=TAVRemoteSupport
             support=TAV-Remote-SupportNEW.exe ;;
    linux) folder=TAVDashboard-linux program=TAVDashboardNEW support_folder=TAVRemoteSupport-linux
           support=TAV-Remote-SupportNEW ;;
    *) die "the build is windows or linux, not '$1'" ;;
  esac
}

check_version_text() {
  [[ "$1" =~ ^[0-9]+(\.[0-9]+)*$ ]] || die "'$1' is not a version of dotted whole numbers, such as 1.0.33"
}

# A whole executable for the build, by its header: PE for x86-64 on Windows, ELF for x86-64 on Linux.
check_program_kind() {  # build file what
  local size
  size=$(stat -c %s "$2")
  [ "$size" -ge 1 ] && [ "$size" -le "$limit" ] || die "$3 is $size bytes; the clients accept 1 byte to 64 MB"
  if [ "$1" = windows ]; then
    [ "$(head -c 2 "$2")" = MZ ] || die "$3 is not a Windows program"
    local pe machine
    pe=$(od -An -tu4 -j60 -N4 "$2" | tr -d ' ')
    [ "$(od -An -c -j"$pe" -N4 "$2" | tr -d ' ')" = 'PE\0\0' ] || die "$3 is not a Windows program"
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$2" | tr -d ' ')
    [ "$machine" = 8664 ] || die "$3 is not a 64-bit (x86-64) Windows program"
  else
    [ "$(od -An -c -N4 "$2" | tr -d ' ')" = '177ELF' ] || die "$3 is not a Linux program"
    [ "$(od -An -tx1 -j4 -N1 "$2" | tr -d ' ')" = 02 ] || die "$3 is not a 64-bit Linux program"
    [ "$(od -An -tx2 -j18 -N2 "$2" | tr -d ' ')" = 003e ] || die "$3 is not an x86-64 Linux program"
  fi
}

# The version the program itself carries (announcing another would update clients at every start).
check_program_version() {  # file version what
  grep -aqF "TAVDashboard version $2;" "$1" || die "$3 does not carry version $2: build that version first"
}

stage() {
  [ $# -ge 5 ] || die "usage: release.sh stage windows|linux VERSION PROGRAM SUPPORT_PROGRAM FOLDER [NOTES]"
  local build=$1 version=$2 exe=$3 support_exe=$4 out=$5 notes=${6:-}
  names "$build"
  check_version_text "$version"
  [ -f "$exe" ] || die "no program file $exe"
  [ -f "$support_exe" ] || die "no remote-support program $support_exe"
  check_program_kind "$build" "$exe" "the program"
  check_program_version "$exe" "$version" "the program"
  check_program_kind "$build" "$support_exe" "the remote-support program"
  mkdir -p "$out/$folder" "$out/$support_folder"
  # The programs first and the version last: a client that sees the new version finds its files.
  install -m 0644 "$support_exe" "$out/$support_folder/$support"
  install -m 0644 "$exe" "$out/$folder/$program"
  printf '%s' "$notes" > "$out/$folder/updateText.txt"
  [ -f "$out/$folder/ifDisabled.txt" ] || : > "$out/$folder/ifDisabled.txt"
  printf '%s' "$version" > "$out/$folder/newVersion.txt.tmp"
  mv "$out/$folder/newVersion.txt.tmp" "$out/$folder/newVersion.txt"
  echo "Staged version $version for $build in $out: copy $folder/ and $support_folder/ to the server's download folder,"
  echo "newVersion.txt last; then run: scripts/release.sh check $build $version <base address>"
}

fetch() {  # url file -> sets status and length
  local headers
  headers=$(curl -sS --max-time 60 --connect-timeout 5 -D - -o "$2" -H 'Cache-Control: no-cache' "$1") ||
    die "$1 could not be fetched"
  status=$(printf '%s' "$headers" | awk 'toupper($1) ~ /^HTTP/ { s = $2 } END { print s }')
  length=$(printf '%s' "$headers" | tr -d '\r' | awk -F': *' 'tolower($1) == "content-length" { l = $2 } END { print l }')
}

check() {
  [ $# -eq 3 ] || die "usage: release.sh check windows|linux VERSION BASE_URL"
  local build=$1 version=$2 base=$3 tmp
  names "$build"
  check_version_text "$version"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  fetch "$base$folder/ifDisabled.txt" "$tmp/ifDisabled.txt"
  if [ "$status" = 200 ] && grep -q disabled "$tmp/ifDisabled.txt"; then
    die "ifDisabled.txt says \"disabled\": every client of this build is switched off"
  fi
  fetch "$base$folder/newVersion.txt" "$tmp/newVersion.txt"
  [ "$status" = 200 ] || die "newVersion.txt answers $status, not 200: no client would see the update"
  [ "$(tr -d ' \r\n' < "$tmp/newVersion.txt")" = "$version" ] ||
    die "newVersion.txt says '$(cat "$tmp/newVersion.txt")', not $version"
  local url what
  for what in support program; do
    if [ $what = support ]; then url="$base$support_folder/$support"; else url="$base$folder/$program"; fi
    fetch "$url" "$tmp/$what"
    [ "$status" = 200 ] || die "$url answers $status, not 200"
    [[ "$length" =~ ^[0-9]+$ ]] || die "$url is served without a Content-Length: clients refuse it"
    [ "$length" = "$(stat -c %s "$tmp/$what")" ] || die "$url announces $length bytes but sent $(stat -c %s "$tmp/$what")"
    check_program_kind "$build" "$tmp/$what" "$url"
  done
  check_program_version "$tmp/program" "$version" "$base$folder/$program"
  echo "The server offers $build clients version $version, and they will accept it."
}

switch() {  # on|off folder build [reason]
  local out=$2
  names "$3"
  mkdir -p "$out/$folder"
  if [ "$1" = off ]; then
    [ -n "${4:-}" ] || die "say why: the reason is shown to every client"
    printf '%s' "$4" > "$out/$folder/reasonDisabled.txt"
    printf 'disabled' > "$out/$folder/ifDisabled.txt"
    echo "Switched off: $out/$folder/ifDisabled.txt says \"disabled\"; copy it and reasonDisabled.txt to the server."
  else
    : > "$out/$folder/ifDisabled.txt"
    echo "Switched on: $out/$folder/ifDisabled.txt is empty; copy it to the server."
  fi
}

case "${1:-}" in
  stage) shift; stage "$@" ;;
  check) shift; check "$@" ;;
  switch-off) [ $# -eq 4 ] || die "usage: release.sh switch-off FOLDER windows|linux \"REASON\""; switch off "$2" "$3" "$4" ;;
  switch-on) [ $# -eq 3 ] || die "usage: release.sh switch-on FOLDER windows|linux"; switch on "$2" "$3" ;;
  *) sed -n '2,20p' "$0" >&2; exit 2 ;;
esac
