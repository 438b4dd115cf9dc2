#!/bin/sh
# Fails when a file of the core (src/ outside src/shell) includes a Qt header.
root="${1:-.}"
hits=$(grep -rnE '^\s*#\s*include\s*[<"]Q' "$root/src" --include='*.h' --include='*.cpp' | grep -v "^$root/src/shell/")
if [ -n "$hits" ]; then
  echo "Qt headers included by the core:"; echo "$hits"; exit 1
fi
echo "core is free of Qt"
