#!/usr/bin/env bash
# Builds the libraries the browser build draws with (zlib, libpng, FreeType, pixman, cairo), and
# Google Benchmark for the benchmarks under node, as static WebAssembly libraries, from Debian's own source packages with their patches, into a
# cache outside the checkout that every later build reuses:
#   ${XDG_CACHE_HOME:-~/.cache}/corvane/web-<versions>
# Prints that directory on its last line. Needs the packages of `install-deps web` (Debian's
# emscripten, dpkg-dev, autotools-dev) and deb-src entries (which install-deps adds).
# Usage: web-deps.sh [--print]   (--print: only name the directory, build nothing)
set -euo pipefail

say() { echo "corvane: $*" >&2; }
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(zlib libpng1.6 freetype pixman cairo benchmark)
# Bumped whenever the way the libraries are built changes, so that an old cache is not used.
recipe=2

# The upstream version of the newest source package apt knows (no epoch, Debian revision or
# repackaging suffix).
upstream() {
  apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n1 |
    sed -E 's/^[0-9]+://; s/-[^-]*$//; s/[.+~](dfsg|ds).*//'
}

em_version=$(emcc --version 2>/dev/null | sed -nE '1s/.* ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p')
if [[ -z $em_version ]]; then
  say "emcc (Debian's emscripten) is missing: run scripts/install-deps.sh web"
  exit 1
fi
key="em$em_version"
for p in "${packages[@]}"; do
  v=$(upstream "$p")
  if [[ -z $v ]]; then
    say "apt knows no source package $p: run scripts/install-deps.sh web (it adds deb-src)"
    exit 1
  fi
  key+="-${p%%[0-9.]*}$v"
done
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/corvane
prefix=$cache_root/web-$key-r$recipe

if [[ ${1:-} == --print ]]; then
  echo "$prefix"
  exit 0
fi
if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

started=$SECONDS
say "building the web libraries into $prefix (once per machine; a few minutes)"
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-web-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A library built before an interruption is kept (its stamp says so).
mkdir -p "$prefix"
log=$prefix/build.log
: >>"$log"
jobs=$(nproc 2>/dev/null || echo 2)

# run what command...: into the log; on failure shows its end and stops.
run() {
  local what=$1 status=0
  shift
  "$@" >>"$log" 2>&1 || status=$?
  ((status == 0)) && return 0
  say "$what failed (exit status $status); the last lines of $log:"
  tail -n 25 "$log" | sed 's/^/    /' >&2
  exit 1
}

# Fetches and unpacks a source package into $work/<name>, with Debian's patches applied. Some
# versions' files may be missing on a mirror: the newest version whose files all arrive is
# taken; when none does, the original tarball of any version, without the packaging.
fetch() {
  local name=$1 dir=$work/$1 v orig
  mkdir -p "$work/dl-$name"
  for v in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -Vr | uniq); do
    if (cd "$work/dl-$name" && apt-get source -q --download-only "$name=$v" >>"$log" 2>&1); then
      local dsc
      dsc=$(ls "$work/dl-$name"/*_"${v#*:}".dsc)
      run "unpacking $name $v" dpkg-source --no-check -x "$dsc" "$dir"
      echo "$name $v (Debian's patches applied)" >>"$prefix/versions.txt"
      return
    fi
  done
  orig=$(ls "$work/dl-$name"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | grep -v -- '-ft2' |
    head -n1 || true)
  if [[ -z $orig ]]; then
    say "no source of $name could be fetched; see $log"
    exit 1
  fi
  mkdir -p "$dir"
  run "unpacking $orig" tar -xf "$orig" -C "$dir" --strip-components=1
  echo "$name $(basename "$orig") (the packaging could not be fetched: no patches)" \
    >>"$prefix/versions.txt"
}

# The newer config.sub and config.guess, which know emscripten.
new_config_scripts() {
  local f
  while IFS= read -r f; do
    cp /usr/share/misc/"$(basename "$f")" "$f"
  done < <(find "$1" -name config.sub -o -name config.guess)
}

# Debian's emscripten finds its JavaScript modules (acorn) in Debian's node path, which a node
# from elsewhere does not search.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export CFLAGS="-O2"
export CPPFLAGS="-I$prefix/include"
export LDFLAGS="-L$prefix/lib"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
export EM_PKG_CONFIG_PATH=$prefix/lib/pkgconfig
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
host=(--host=wasm32-unknown-emscripten --prefix="$prefix" --disable-shared --enable-static)

# Fetches, unpacks and prepares a library's source unless it was built before; false then.
start() {
  [[ -f $prefix/.built-$1 ]] && return 1
  say "fetching and building $1"
  fetch "$1"
  new_config_scripts "$work/$1"
  # The patches touch the build's inputs; what the tarball generated from them stands, so
  # that make does not ask for the autotools.
  find "$work/$1" -name aclocal.m4 -exec touch {} +
  find "$work/$1" \( -name configure -o -name config.h.in -o -name Makefile.in \) -exec touch {} +
  cd "$work/$1"
}
built() { touch "$prefix/.built-$1"; }

if start zlib; then
run "configuring zlib" emconfigure ./configure --static --prefix="$prefix"
run "building zlib" emmake make -j"$jobs" libz.a
run "installing zlib" emmake make install
built zlib
fi

if start libpng1.6; then
run "configuring libpng" emconfigure ./configure "${host[@]}" --disable-tools --disable-tests \
  --disable-hardware-optimizations
run "building libpng" emmake make -j"$jobs" libpng16.la
run "installing libpng" emmake make install-libLTLIBRARIES install-pkgincludeHEADERS \
  install-nodist_pkgincludeHEADERS install-pkgconfigDATA install-binSCRIPTS install-header-links \
  install-library-links install-libpng-pc
built libpng1.6
fi

if start freetype; then
run "configuring FreeType" emconfigure ./configure "${host[@]}" CC_BUILD=gcc --with-zlib=yes \
  --with-png=no --with-bzip2=no --with-harfbuzz=no --with-brotli=no
run "building FreeType" emmake make -j"$jobs"
run "installing FreeType" emmake make install
built freetype
fi

if start pixman; then
run "configuring pixman" emconfigure ./configure "${host[@]}" --disable-openmp \
  --disable-loongson-mmi --disable-mmx --disable-sse2 --disable-ssse3 --disable-vmx \
  --disable-arm-simd --disable-arm-neon --disable-arm-a64-neon --disable-arm-iwmmxt \
  --disable-mips-dspr2 --disable-gcc-inline-asm --disable-libpng --disable-gtk
run "building pixman" emmake make -j"$jobs" -C pixman libpixman-1.la
run "installing pixman" emmake make -C pixman install
run "installing pixman's pkg-config file" emmake make install-pkgconfigDATA
built pixman
fi

if start cairo; then
# cairo hands some functions to the spline code through a pointer of another type; WebAssembly
# traps on such a call, so they get wrappers of the right type.
run "patching cairo for WebAssembly" patch -p1 -i "$top/web/cairo-wasm-function-types.patch"
run "configuring cairo" emconfigure ./configure "${host[@]}" ax_cv_c_float_words_bigendian=no \
  CFLAGS="$CFLAGS -DCAIRO_NO_MUTEX=1" --enable-ft --disable-fc --enable-png \
  --disable-xlib --disable-xlib-xrender --disable-xcb --disable-xcb-shm --disable-qt \
  --disable-quartz --disable-win32 --disable-os2 --disable-beos --disable-drm --disable-gl \
  --disable-glesv2 --disable-glesv3 --disable-egl --disable-glx --disable-wgl \
  --disable-pdf --disable-ps --disable-svg --disable-script --disable-interpreter \
  --disable-trace --disable-gobject --disable-valgrind --disable-symbol-lookup \
  --disable-full-testing
run "building cairo" emmake make -j"$jobs" -C src libcairo.la
run "installing cairo" emmake make -C src install
built cairo
fi

if start benchmark; then
# Its version comes from git (Debian turns that off, leaving it empty): the package's it is.
sed -i "s/^#\?get_git_version(GIT_VERSION)/set(GIT_VERSION \"$(upstream benchmark)\")/" CMakeLists.txt
mkdir -p build
cd build
run "configuring Google Benchmark" emcmake cmake .. -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBENCHMARK_ENABLE_TESTING=OFF \
  -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBUILD_SHARED_LIBS=OFF
run "building Google Benchmark" emmake make -j"$jobs" benchmark benchmark_main
run "installing Google Benchmark" emmake make install
built benchmark
fi

touch "$prefix/.complete"
say "web libraries built in $((SECONDS - started)) s"
echo "$prefix"
