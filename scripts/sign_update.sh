#!/usr/bin/env bash
# The store's signatures for signed updates, with the openssl command-line tool (README,
# "Signed updates").
#
#   scripts/sign_update.sh keygen FOLDER
#       Makes the store's key pair: FOLDER/store-update.key (secret: keep it off the web server
#       and out of the repository) and FOLDER/store-update.pub, and prints the public key as the
#       build wants it: cmake -DTAV_UPDATE_PUBLIC_KEY=<that hex> ...
#   scripts/sign_update.sh sign KEY FILE NAME VERSION
#       Writes FILE.sig, which vouches for FILE under the name the clients download it by
#       (TAVDashboardNEW.exe, TAV-Remote-SupportNEW, ...) and the version newVersion.txt announces.
#   scripts/sign_update.sh notice KEY IFDISABLED REASONDISABLED
#       Writes IFDISABLED.sig, which vouches for the switch-off notice and its reason as they are.
#   scripts/sign_update.sh public KEY
#       Prints the public key of a key file, as keygen does.
set -euo pipefail

die() { echo "sign_update: $*" >&2; exit 1; }
command -v openssl >/dev/null || die "the openssl command is needed (Debian package openssl)"

hex() { od -An -v -tx1 | tr -d ' \n'; }

public_hex() {  # key file -> the uncompressed point: the last 65 bytes of the public key's DER
  openssl ec -in "$1" -pubout -outform DER 2>/dev/null | tail -c 65 | hex
}

digest() { openssl dgst -sha256 -r "$1" | cut -d' ' -f1; }

# Appends the signature line to a signature file's fields (given on stdin) and writes it.
write_signed() {  # key output
  local fields
  fields="$(cat)"
  printf 'TAV Dashboard signature\n%s\n' "$fields" > "$2.fields"
  local signature
  signature=$(openssl dgst -sha256 -sign "$1" "$2.fields" | hex) || die "could not sign with $1"
  { cat "$2.fields"; printf 'signature: %s\n' "$signature"; } > "$2.tmp"
  rm -f "$2.fields"
  mv "$2.tmp" "$2"
}

case "${1:-}" in
  keygen)
    [ $# -eq 2 ] || die "usage: sign_update.sh keygen FOLDER"
    mkdir -p "$2"
    [ ! -e "$2/store-update.key" ] || die "$2/store-update.key exists already: a new key would lock out every client built with the old one"
    (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$2/store-update.key")
    openssl ec -in "$2/store-update.key" -pubout -out "$2/store-update.pub" 2>/dev/null
    echo "Key pair: $2/store-update.key (keep it secret) and $2/store-update.pub"
    echo "Build with: -DTAV_UPDATE_PUBLIC_KEY=$(public_hex "$2/store-update.key")"
    ;;
  public)
    [ $# -eq 2 ] || die "usage: sign_update.sh public KEY"
    public_hex "$2"
    echo
    ;;
  sign)
    [ $# -eq 5 ] || die "usage: sign_update.sh sign KEY FILE NAME VERSION"
    [ -f "$3" ] || die "no file $3"
    [[ "$5" =~ ^[0-9]+(\.[0-9]+)*$ ]] || die "'$5' is not a version of dotted whole numbers"
    printf 'name: %s\nversion: %s\nsha256: %s' "$4" "$5" "$(digest "$3")" | write_signed "$2" "$3.sig"
    echo "Signed: $3.sig ($4, version $5)"
    ;;
  notice)
    [ $# -eq 4 ] || die "usage: sign_update.sh notice KEY IFDISABLED REASONDISABLED"
    [ -f "$3" ] && [ -f "$4" ] || die "both $3 and $4 must exist"
    printf 'name: ifDisabled.txt\nsha256: %s\nreason-sha256: %s' "$(digest "$3")" "$(digest "$4")" | write_signed "$2" "$3.sig"
    echo "Signed: $3.sig"
    ;;
  *) sed -n '2,17p' "$0" >&2; exit 2 ;;
esac
