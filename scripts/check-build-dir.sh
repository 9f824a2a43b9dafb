#!/usr/bin/env bash
# Stops a build where build/ belongs to another user (before the first build: where the
# checkout does), so that nobody is left with a build/ they can neither write nor remove; root
# is needed only to install packages. With --clean, for `make clean`: root may remove any build/.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
me=$(id -u)
user_name() { getent passwd "$1" | cut -d: -f1 | grep . || echo "uid $1"; }

if [[ -e $top/build ]]; then
  [[ ${1:-} == --clean && $me == 0 ]] && exit 0
  # build/ and the builds in it (a root `make run` may have made one in a user's build/).
  shopt -s nullglob
  for dir in "$top/build/" "$top"/build/*/; do
    owner=$(stat -c %u "$dir")
    [[ $owner == "$me" ]] && continue
    echo "corvane: ${dir#"$top/"} belongs to $(user_name "$owner"), not to you ($(user_name "$me"))."
    echo "corvane: run 'make clean' as $(user_name "$owner"), or remove build/ as root:" \
      "su -c 'rm -rf $top/build'; then try again."
    exit 1
  done
  exit 0
fi
[[ ${1:-} == --clean ]] && exit 0
owner=$(stat -c %u "$top")
[[ $owner == "$me" ]] && exit 0
echo "corvane: this checkout belongs to $(user_name "$owner"), not to you ($(user_name "$me"))."
echo "corvane: build it as $(user_name "$owner"), so that build/ stays theirs;" \
  "root is needed only for 'make deps'."
exit 1
