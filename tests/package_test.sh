#!/usr/bin/env bash
# The Debian package of the release build, which CPack fills through the install rules: lintian
# accepts it, it declares the libraries the program links, and every file it unpacks stands in
# its usual place, is valid for the tools that read it and names the others correctly.
set -euo pipefail
build=$1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
deb=$(echo "$build"/corvane_*.deb)
[[ -f $deb ]] || fail "not one package in $build: $deb (make deb)"
# lintian leaves a scratch file in TMPDIR: keep it in the stage.
TMPDIR=$stage lintian --fail-on error,warning "$deb" 2>/dev/null ||
  fail "lintian: $(TMPDIR=$stage lintian "$deb" 2>&1)"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libsdl2-2.0-0 libcairo2 libx11-6 libstdc++6 fonts-comic-neue; do
  [[ $depends == *"$p"* ]] || fail "Depends lacks $p: $depends"
done

dpkg-deb -x "$deb" "$stage/root"
usr=$stage/root/usr
for f in bin/corvane share/applications/*.desktop share/metainfo/*.metainfo.xml \
  share/icons/hicolor/scalable/apps/corvane.svg share/man/man1/corvane.1.gz \
  share/doc/corvane/copyright share/doc/corvane/changelog.gz; do
  compgen -G "$usr/$f" >/dev/null || fail "nothing installed at /usr/$f"
done

# The desktop entry: not even a hint from the validator; it starts the installed program.
desktop=$(echo "$usr"/share/applications/*.desktop)
out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]] || fail "desktop-file-validate: $out"
grep -qx 'Exec=corvane' "$desktop" || fail "the desktop entry does not start corvane"

# The AppStream metainfo: valid, and launching the desktop entry that is installed.
metainfo=$(echo "$usr"/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >/dev/null ||
  fail "appstreamcli: $(appstreamcli validate --no-net "$metainfo")"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the metainfo launches another desktop entry than $(basename "$desktop")"

# The manual page formats without a warning.
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/corvane.1.gz" 2>&1 >/dev/null)
[[ -z $out ]] || fail "man: $out"

# The installed program answers on the command line without opening a window (--help too:
# the no-display test).
"$usr/bin/corvane" --version | grep -qx 'corvane [0-9]*\.[0-9]*\.[0-9]*' || fail "--version"

echo "package: all checks passed"
