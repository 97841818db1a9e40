#!/usr/bin/env bash
# Refreshes the program in its program folder. What a user keeps there (profiles,
# preferences, kst.ini, port links) is never overwritten or deleted: the support
# database and the folders are created only where they are missing.
set -euo pipefail
build=$1
target=$2
mkdir -p "$target" "$target/Devices" "$target/ports"
install -m 755 "$build/src/app/kestrelon" "$target/kestrelon.new"
mv -f "$target/kestrelon.new" "$target/kestrelon"
support="$build/src/storage/mscomctl.2fl"
if [ ! -f "$support" ]; then
    echo "deploy: the build made no support database ($support)" >&2
    exit 1
fi
if [ ! -e "$target/mscomctl.2fl" ]; then
    cp "$support" "$target/mscomctl.2fl"
fi
