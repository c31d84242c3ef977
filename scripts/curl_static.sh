#!/usr/bin/env bash
# A static libcurl with only what the program uses (HTTP, HTTPS and SMTP), built once per build
# folder from Debian's curl source package:
#   bash scripts/curl_static.sh x86_64|i686 BUILD_FOLDER   the Windows build: mingw-w64, Schannel
#   bash scripts/curl_static.sh linux BUILD_FOLDER         the Linux build: the system's compiler
#                                                          (CC, CXX), the system's OpenSSL
# Debian's shared libcurl brings the libraries of every protocol and feature it supports
# (librtmp with GnuTLS, Kerberos, LDAP, libssh2, nghttp2, libpsl, libidn2 ...): about 3 MB
# of resident memory in a program that only fetches the update files and sends mail.
# Leaves BUILD_FOLDER/curl/install/{include,lib/libcurl.a}. The system's apt sources are not
# touched: the source entry and the package lists live in the build folder.
set -euo pipefail
arch="$1"
build="$(mkdir -p "$2" && cd "$2" && pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$build/curl"
install="$work/install"
[ -f "$install/lib/libcurl.a" ] && exit 0
mkdir -p "$work"

# Debian's source package: the same archive and key as the system's own binary packages.
if ! ls "$work"/curl_*.orig.tar.gz >/dev/null 2>&1; then
  uri="$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)"
  key="$(sed -n 's/^Signed-By: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)"
  uri="${uri:-http://deb.debian.org/debian}"
  key="${key:-/usr/share/keyrings/debian-archive-keyring.gpg}"
  mkdir -p "$work/apt/sources" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
  : >"$work/apt/sources.list"
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' "$uri" "$key" \
    >"$work/apt/sources/curl-src.sources"
  opts=(-o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts="$work/apt/sources"
        -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache")
  apt-get "${opts[@]}" update -qq
  (cd "$work" && apt-get "${opts[@]}" source --download-only curl)
fi
src="$work/src"
if [ ! -d "$src" ]; then
  mkdir -p "$src"
  tar -xzf "$(ls "$work"/curl_*.orig.tar.gz | head -1)" -C "$src" --strip-components=1
fi

echo "Building a static libcurl for $arch (once per build folder)"
if [ "$arch" = linux ]; then
  # Position-independent: it is linked into the program, which is built as PIE.
  target=(-DCMAKE_POSITION_INDEPENDENT_CODE=ON -DCURL_USE_OPENSSL=ON -DCURL_USE_GSSAPI=OFF)
else
  target=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" -DCURL_USE_SCHANNEL=ON
          -DCURL_USE_OPENSSL=OFF -DENABLE_UNICODE=ON)
fi
cmake -S "$src" -B "$work/build" "${target[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$install" \
  -DBUILD_SHARED_LIBS=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_ZLIB=OFF \
  -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DUSE_LIBIDN2=OFF -DCURL_USE_LIBPSL=OFF \
  -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DENABLE_MANUAL=OFF \
  -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_FTP=ON -DCURL_DISABLE_TELNET=ON \
  -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_FILE=ON -DCURL_DISABLE_TFTP=ON -DCURL_DISABLE_RTSP=ON \
  -DCURL_DISABLE_POP3=ON -DCURL_DISABLE_IMAP=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_MQTT=ON \
  -DCURL_DISABLE_SMB=ON \
  >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; exit 1; }
cmake --install "$work/build" >/dev/null
# CMake names it libcurl.a, or libcurl-d.a in debug builds.
[ -f "$install/lib/libcurl.a" ] || { echo "libcurl.a was not built" >&2; exit 1; }
