#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every source file of the project its SPDX licence line: the first line, or the
# second after a "#!" line. Files that already name a licence are left alone, so running
# it again changes nothing.
#   tools/spdx-headers.sh           adds the missing lines
#   tools/spdx-headers.sh --check   lists files without their line (or with the wrong
#                                   licence) and fails when there are any
# Sources are the .cpp .h .py .sh .js .cmake and CMakeLists.txt files and the scripts
# without an extension that start with "#!", as git lists them (tracked or not ignored).
set -euo pipefail
cd "$(dirname "$0")/.."

readonly program_licence=GPL-3.0-or-later
# Published with the pages users make, so site owners can ship them with any site.
readonly mit_files=(data/kestrune-menu.js)

mode=add
case "${1:-}" in
  "") ;;
  --check) mode=check ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

# git's list when this folder is a checkout of its own; a copy inside another checkout
# (the package build's) is walked instead.
source_files() {
  if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$(pwd -P)" ]]; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . \( -name .git -o -name node_modules -o -name 'build*' -o -name 'obj-*' -o -path ./debian/kestrune \
              -o -path ./debian/.debhelper -o -path ./debian/tmp \) -prune -o -type f -print0 |
      sed -z 's|^\./||'
  fi
}

# The comment that starts the line in this file, or nothing when it is not a source file.
comment_of() {
  local file=$1 name=${1##*/}
  case "$name" in
    *.cpp | *.h | *.js) echo "//" ;;
    *.py | *.sh | *.cmake | CMakeLists.txt) echo "#" ;;
    *.*) ;;
    *) if starts_with_shebang "$file"; then echo "#"; fi ;;
  esac
}

licence_of() {
  local file=$1 mit
  for mit in "${mit_files[@]}"; do
    if [[ $file == "$mit" ]]; then echo MIT; return; fi
  done
  echo "$program_licence"
}

starts_with_shebang() { [[ $(head -c 2 "$1" | tr -d '\0') == "#!" ]]; }

# The licence the file's header names, or nothing.
named_licence() {
  head -n 3 "$1" | sed -n 's/.*SPDX-License-Identifier: *\([^ *]*\).*/\1/p' | head -n 1
}

add_line() {
  local file=$1 line=$2 scratch
  scratch=$(mktemp "$file.spdx.XXXXXX")
  if starts_with_shebang "$file"; then
    { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$scratch"
  else
    { echo "$line"; cat "$file"; } >"$scratch"
  fi
  chmod --reference="$file" "$scratch"
  mv "$scratch" "$file"
}

faults=0
while IFS= read -r -d '' file; do
  [[ -f $file && ! -L $file ]] || continue
  comment=$(comment_of "$file")
  [[ -n $comment ]] || continue
  wanted=$(licence_of "$file")
  named=$(named_licence "$file")
  if [[ -z $named ]]; then
    if [[ $mode == check ]]; then
      echo "$file: no SPDX-License-Identifier line"
      faults=1
    else
      add_line "$file" "$comment SPDX-License-Identifier: $wanted"
      echo "added $wanted: $file"
    fi
  elif [[ $named != "$wanted" ]]; then
    echo "$file: names $named, should be $wanted"
    faults=1
  fi
done < <(source_files)
exit "$faults"
