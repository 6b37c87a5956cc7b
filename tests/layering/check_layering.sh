#!/usr/bin/env bash
# check_layering.sh SOURCE_DIR QT_INCLUDE_DIR
# Checks that every folder of SOURCE_DIR includes only the folders its layer may use, and
# that the layers which must run without widgets include no header of a Qt widget module
# (any Qt*Widgets folder under QT_INCLUDE_DIR). Names each offending include with its file
# and line and exits 1 when there is one. The link lines already keep a lower layer from
# calling a higher one; this catches the header-only uses they cannot see.
set -uo pipefail

if (($# != 2)); then
  echo "usage: $0 SOURCE_DIR QT_INCLUDE_DIR" >&2
  exit 2
fi
src=$(cd "$1" && pwd) || exit 2
qt_include=$2

# Each folder and the folders it may include; "*" is any folder of the tree.
declare -A may_include=(
  [platform]="platform"
  [model]="model platform"
  [render]="render model platform"
  [ui]="ui platform"
  [sharing]="sharing platform model"
  [sharing/ui]="sharing/ui sharing ui platform model render"
  [app]="*"
  [cli]="cli render model platform"
)
widget_free=" platform model render sharing cli "

shopt -s nullglob
widget_dirs=("$qt_include"/Qt*Widgets)
if ((${#widget_dirs[@]} == 0)); then
  echo "No Qt widget headers under $qt_include: cannot tell widget headers apart." >&2
  exit 2
fi
declare -A widget_header=()
for dir in "${widget_dirs[@]}"; do
  for header in "$dir"/*; do
    widget_header[${header##*/}]=1
  done
done

# Sets folder to the folder a path below SOURCE_DIR belongs to; empty for files at the top.
folder_of() {
  case $1 in
    sharing/ui/*) folder=sharing/ui ;;
    */*) folder=${1%%/*} ;;
    *) folder= ;;
  esac
}

# Sets folder to the folder of the tree an include names, or empty when it is not ours.
included_folder() {
  local from_dir=$1 kind=$2 name=$3 resolved
  folder=
  if [[ $kind == '"' && -e $from_dir/$name ]]; then
    resolved=$(realpath -m --relative-to="$src" "$from_dir/$name")
    [[ $resolved == ../* ]] || folder_of "$resolved"
  elif [[ $name == */* && -d $src/${name%%/*} ]]; then
    folder_of "$name"
  fi
}

violations=0
report() {
  echo "$1: $2" >&2
  violations=$((violations + 1))
}

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  shown=${src##*/}/$rel
  folder_of "$rel"
  [[ -n $folder ]] || continue
  file_folder=$folder
  allowed=${may_include[$folder]-}
  if [[ -z $allowed ]]; then
    report "$shown" "the folder $file_folder has no layering rule (add one to ${0##*/})"
    continue
  fi
  number=0
  while IFS= read -r line || [[ -n $line ]]; do
    number=$((number + 1))
    [[ $line =~ $include_line ]] || continue
    kind=${BASH_REMATCH[1]} name=${BASH_REMATCH[2]}
    if [[ $kind == '<' ]]; then shown_include="<$name>"; else shown_include="\"$name\""; fi
    included_folder "${file%/*}" "$kind" "$name"
    if [[ -n $folder && $allowed != "*" && " $allowed " != *" $folder "* ]]; then
      report "$shown:$number" \
        "#include $shown_include: $file_folder may include only ${allowed// /, }"
    fi
    if [[ $widget_free == *" $file_folder "* && $kind == '<' ]] &&
      [[ $name =~ ^Qt[A-Za-z]*Widgets(/|$) || -n ${widget_header[$name]-} ]]; then
      report "$shown:$number" "#include $shown_include: $file_folder must not use Qt widgets"
    fi
  done <"$file"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \
  -o -name '*.cxx' -o -name '*.c' -o -name '*.inl' \) -print0 | sort -z)

if ((violations > 0)); then
  echo "$violations include(s) break the layering of $src." >&2
  exit 1
fi
echo "Layering holds in $src."
