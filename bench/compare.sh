#!/usr/bin/env bash
# Times lumigrave-cli against the tools a photographer could script the same watermark
# with (ImageMagick 6 and libvips) and against a bare JPEG transcode, which is the floor
# no watermarker can go under: the photo has to be decoded and encoded either way.
# It is a benchmark, not a test: ctest never runs it, and its numbers are only
# meaningful next to each other on one machine.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: bash bench/compare.sh [--runs N] [--sizes "12 24"] [--keep] [--help]

Watermarks generated 12 and 24 MP photos (centre and tiled layouts) with lumigrave-cli,
ImageMagick and libvips, next to a plain djpeg | cjpeg transcode, and prints the median,
min and max wall time, CPU time and peak memory of each, with ratios against
lumigrave-cli.

  --runs N       timed runs per tool and case (default 5); the tools take turns
  --sizes LIST   photo sizes in megapixels, from 12 and 24 (default "12 24")
  --keep         keep the work directory (photos, outputs, logs) and print its path
  -h, --help     print this and exit

The binary is $LUMIGRAVE_CLI, else build/release/src/cli/lumigrave-cli, else
build/test/src/cli/lumigrave-cli (paths from the repository root). Missing Debian
packages are installed with apt-get (through sudo when not root).
EOF
}

die() {
  echo "compare.sh: $*" >&2
  exit 1
}

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=5
sizes="12 24"
keep=0

while (($# > 0)); do
  case $1 in
    --runs)
      (($# >= 2)) || die "--runs needs a number"
      runs=$2
      shift 2
      ;;
    --runs=*) runs=${1#*=}; shift ;;
    --sizes)
      (($# >= 2)) || die "--sizes needs a list, e.g. --sizes \"12 24\""
      sizes=$2
      shift 2
      ;;
    --sizes=*) sizes=${1#*=}; shift ;;
    --keep) keep=1; shift ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; echo >&2; die "unknown argument: $1" ;;
  esac
done

[[ $runs =~ ^[0-9]+$ ]] && ((10#$runs >= 1)) || die "--runs wants a whole number of at least 1, not '$runs'"
runs=$((10#$runs))
read -r -a size_list <<<"$sizes"
((${#size_list[@]} > 0)) || die "--sizes is empty"
declare -A seen=()
unique=()
for s in "${size_list[@]}"; do
  [[ $s == 12 || $s == 24 ]] || die "--sizes knows 12 and 24, not '$s'"
  # A size given twice would only mix two sets of runs into one row.
  [[ -n ${seen[$s]:-} ]] || unique+=("$s")
  seen[$s]=1
done
size_list=("${unique[@]}")

# Look for the binary before installing anything, so that a missing build fails at once.
if [[ -n ${LUMIGRAVE_CLI:-} ]]; then
  cli=$LUMIGRAVE_CLI
else
  cli=$root/build/release/src/cli/lumigrave-cli
  [[ -e $cli ]] || cli=$root/build/test/src/cli/lumigrave-cli
fi
[[ -f $cli && -x $cli ]] || die "no lumigrave-cli at $cli: build it first with bash scripts/main.sh"
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")

# The build type decides whether the numbers mean anything: an unoptimised test build
# can be several times slower than what users get, so say so next to the table.
build_type="unknown"
d=$(dirname "$cli")
while [[ $d != / ]]; do
  if [[ -f $d/CMakeCache.txt ]]; then
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$d/CMakeCache.txt")
    build_type=${build_type:-none}
    break
  fi
  d=$(dirname "$d")
done

packages=(imagemagick libvips-tools libjpeg-turbo-progs time python3 fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || die "need root or sudo to install ${missing[*]}"
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lumigrave-bench.XXXXXX")
cleanup() {
  if ((keep)); then
    echo "Work directory kept: $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mkdir -p "$work/home" "$work/photos" "$work/out" "$work/scratch" "$work/logs" "$work/tmp"
# ImageMagick spills its pixel cache to disk past the policy's memory limit, and libvips
# keeps large intermediates in temporary files: both belong in the work directory, so
# that nothing is left behind and a full /tmp cannot be blamed on another run.
export MAGICK_TEMPORARY_PATH=$work/tmp TMPDIR=$work/tmp

# The watermark, the same for every tool. lumigrave-cli takes fractions; the shell only
# does integers, so the other tools get the same numbers in percent.
text='© lumigrave.app'
width_ratio=0.8 width_ratio_pct=80
opacity=0.6 opacity_pct=60
margin_h=0.05 margin_h_pct=5
margin_v=0.08 margin_v_pct=8
angle=30
results=$work/results.tsv
: >"$results"

dims_for() {
  case $1 in
    12) echo "4000 3000" ;;
    24) echo "6000 4000" ;;
  esac
}

# --- the tools ---------------------------------------------------------------------
# Each takes: photo, output path, layout (centre|tiled), width, height, scratch dir, and
# runs its commands under GNU time, which appends "maxrss_KiB user_s sys_s" per command
# to $mem. They run in a subshell with errexit, so the first failing command ends the run.

timed() {
  /usr/bin/time -a -o "$mem" -f '%M %U %S' "$@"
}

tool_ours() {
  local photo=$1 out=$2 layout=$3
  local layout_args=(--layout center)
  [[ $layout == tiled ]] && layout_args=(--layout tile-parallel --margins "$margin_h" "$margin_v")
  mkdir -p "$out"
  HOME=$work/home timed "$cli" --db "$work/presets.sqlite" apply --text "$text" \
    --width-ratio "$width_ratio" --opacity "$opacity" --angle "$angle" "${layout_args[@]}" \
    --quality 90 --format jpeg --jobs 1 --overwrite "$photo" -o "$out"
}

tool_transcode() {
  local photo=$1 out=$2
  timed djpeg "$photo" | timed cjpeg -quality 90 -sample 2x2 >"$out"
}

# ImageMagick's -shade is the light lumigrave-cli uses: from azimuth 0 (+x), 30° up, so
# flat areas come out at sin 30° = mid-grey and the Overlay leaves them as they were.
# -rotate turns clockwise, hence the negative angle. The tile phase is left where
# tile: puts it (top left): centring it needs the tile's size, known only after label:
# has fitted the text, and the phase costs nothing either way.
tool_magick() {
  local photo=$1 out=$2 layout=$3 w=$4 h=$5
  local tw=$((w * width_ratio_pct / 100))
  local relief=(-background white -fill black -font DejaVu-Sans-Bold -size "${tw}x"
    label:"$text" -bordercolor white -border 1 -shade 0x30)
  if [[ $layout == centre ]]; then
    timed convert -size "${w}x${h}" 'xc:srgb(50%,50%,50%)' \
      \( "${relief[@]}" -background gray50 -rotate "-$angle" \) \
      -gravity center -compose dissolve -define compose:args="$opacity_pct" -composite \
      -set colorspace sRGB "$photo" -compose Overlay -composite \
      -quality 90 -sampling-factor 4:2:0 "$out"
  else
    local cw=$cover_w ch=$cover_h mx=$((w * margin_h_pct / 200)) my=$((h * margin_v_pct / 200))
    # Fading the tile towards grey before tiling is the same picture as laying the
    # whole tiled canvas over grey at the opacity, for a fraction of the pixels.
    timed convert \( "${relief[@]}" -fill gray50 -colorize $((100 - opacity_pct)) \
      -bordercolor gray50 -border "${mx}x${my}" -write mpr:tile +delete \) \
      -size "${cw}x${ch}" tile:mpr:tile -background gray50 -rotate "-$angle" \
      -gravity center -crop "${w}x${h}+0+0" +repage \
      -set colorspace sRGB "$photo" -compose Overlay -composite \
      -quality 90 -sampling-factor 4:2:0 "$out"
  fi
}

# libvips has no shade operation. The relief is a 3x3 Sobel derivative along x instead:
# for a light from +x it is the first-order term of Lambert shading, so edges facing the
# light brighten, the others darken, and flat areas stay at the mask's offset, mid-grey.
# Unlike -shade it does not saturate on steep edges, which only changes the contrast.
# The mask works on the text mask itself (text high) rather than on its inverse, the
# height field, so its sign is flipped; its scale folds the opacity in (opacity / 8 of
# the Sobel sum, around grey 128), which saves an invert and a linear pass.
# Every vips command starts the library anew (about 0.1 s here), so the chain is kept
# short: gravity centres, crops and tiles without asking for an image's size first.
# vips similarity turns clockwise on screen for a positive angle, hence the minus.
tool_vips() {
  local photo=$1 out=$2 layout=$3 w=$4 h=$5 s=$6
  local tw=$((w * width_ratio_pct / 100)) o=$opacity_pct size rw rh
  printf '3 3 800 128\n%d 0 %d\n%d 0 %d\n%d 0 %d\n' \
    $((-o)) $o $((-2 * o)) $((2 * o)) $((-o)) $o >"$s/emboss.mat"
  timed vips text "$s/text.v" "$text" --font 'DejaVu Sans Bold' \
    --width "$tw" --height "$tw" --wrap none
  # "text.v: 3200x336 uchar, 1 band, multiband"
  size=$(timed vipsheader "$s/text.v")
  size=${size#*: }
  size=${size%% *}
  rw=${size%x*}
  rh=${size#*x}
  if [[ $layout == centre ]]; then
    # The one-pixel frame keeps the derivative off the text's edges.
    timed vips embed "$s/text.v" "$s/framed.v" 1 1 $((rw + 2)) $((rh + 2))
    timed vips conv "$s/framed.v" "$s/relief.v" "$s/emboss.mat" --precision integer
    timed vips similarity "$s/relief.v" "$s/turned.v" --angle "-$angle" --background 128
    timed vips gravity "$s/turned.v" "$s/canvas.v" centre "$w" "$h" \
      --extend background --background 128
  else
    local mx=$((w * margin_h_pct / 200)) my=$((h * margin_v_pct / 200))
    # The margins stand in for the frame here: the tile is shaded with them.
    timed vips embed "$s/text.v" "$s/framed.v" $((mx + 1)) $((my + 1)) \
      $((rw + 2 + 2 * mx)) $((rh + 2 + 2 * my))
    timed vips conv "$s/framed.v" "$s/tile.v" "$s/emboss.mat" --precision integer
    # Repeating out from a centred tile, as lumigrave-cli lays its grid.
    timed vips gravity "$s/tile.v" "$s/tiles.v" centre "$cover_w" "$cover_h" --extend repeat
    timed vips similarity "$s/tiles.v" "$s/turned.v" --angle "-$angle" --background 128
    timed vips gravity "$s/turned.v" "$s/canvas.v" centre "$w" "$h"
  fi
  timed vips composite2 "$s/canvas.v" "$photo" "$out[Q=90,subsample-mode=on]" overlay
}

# The canvas that still covers the photo once turned by the angle. Worked out before the
# clock starts, as a python3 start-up would cost the scripted tools more than the sum.
cover_canvas() {
  python3 -c 'import math, sys
w, h, a = int(sys.argv[1]), int(sys.argv[2]), math.radians(float(sys.argv[3]))
c, s = abs(math.cos(a)), abs(math.sin(a))
print(math.ceil(w * c + h * s), math.ceil(w * s + h * c))' "$1" "$2" "$angle"
}

# --- running -----------------------------------------------------------------------

# One timed run: appends "size layout tool run seconds peak_KiB cpu_s" to the results.
run_one() {
  local tool=$1 size=$2 layout=$3 run=$4 photo=$5 w=$6 h=$7
  local tag=$size-$layout-$tool-$run
  local out=$work/out/$tag.jpg s=$work/scratch/$tag log=$work/logs/$tag.log
  [[ $tool == ours ]] && out=$work/out/$tag
  mem=$work/logs/$tag.mem
  mkdir -p "$s"
  : >"$mem"
  local start end status
  if [[ $tool == ours && $(stat -c '%Y %s' "$cli" 2>/dev/null || true) != "$cli_stamp" ]]; then
    rebuilt=1
    cli_stamp=$(stat -c '%Y %s' "$cli" 2>/dev/null || true)
  fi
  set +e
  start=$EPOCHREALTIME
  (
    set -e
    "tool_$tool" "$photo" "$out" "$layout" "$w" "$h" "$s"
  ) >"$log" 2>&1
  status=$?
  end=$EPOCHREALTIME
  set -e
  rm -rf "$s"
  if ((status != 0)); then
    echo "compare.sh: ${label[$tool]} failed on the $size MP $layout photo (run $run, exit $status):" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
  local result=$out
  [[ $tool == ours ]] && result=$out/$(basename "$photo")
  [[ -s $result ]] || die "${label[$tool]} wrote no output for the $size MP $layout photo: $result"
  if ((run == 1)); then
    # Only the size is checked, without decoding: a wrong size would make the times
    # incomparable, while the looks were checked by eye when the commands were written.
    local got
    got=$(identify -ping -format '%wx%h' "$result")
    [[ $got == "${w}x${h}" ]] || die "${label[$tool]} wrote a $got image for the $size MP photo, not ${w}x${h}: $result"
  fi
  # The transcode's two processes run at once, so their memory adds up; the other
  # tools' commands run one after another, so the largest is the peak.
  python3 - "$mem" "$tool" "$size" "$layout" "$run" "${start/,/.}" "${end/,/.}" >>"$results" <<'EOF'
import sys
mem, tool, size, layout, run, start, end = sys.argv[1:]
rows = []
for line in open(mem):
    f = line.split()
    if len(f) == 3 and f[0].isdigit():
        rows.append((int(f[0]), float(f[1]) + float(f[2])))
if not rows:
    sys.exit(f"compare.sh: no GNU time figures in {mem}")
peak = sum(r[0] for r in rows) if tool == "transcode" else max(r[0] for r in rows)
cpu = sum(r[1] for r in rows)
print(size, layout, tool, run, f"{float(end) - float(start):.6f}", peak, f"{cpu:.2f}", sep="\t")
EOF
}

echo "lumigrave-cli: $cli (CMake build type: $build_type)"
case $build_type in
  Release | RelWithDebInfo | MinSizeRel) ;;
  unknown) echo "  note: no CMake cache above it, so whether it is optimised is not known" ;;
  *) echo "  note: not an optimised build, so its times overstate what a release build takes" ;;
esac
echo "$(convert -version | head -n 1)"
echo "$(vips --version)"
echo "$(cjpeg -version 2>&1 | head -n 1)"
echo "cores: $(nproc); runs per tool and case: $runs"
# Other work on the machine, a build above all, slows some runs and not others.
read -r load _ </proc/loadavg
if awk -v l="$load" 'BEGIN { exit !(l >= 0.5) }'; then
  echo "  note: load average $load before starting: something else is running"
fi
echo
# A rebuild between runs would mix two builds in one median: it is looked for before
# each of lumigrave-cli's runs.
cli_stamp=$(stat -c '%Y %s' "$cli")
rebuilt=0

# Seeding the preset database is a first-launch cost, not part of watermarking a photo,
# so it is paid once here rather than inside the first timed run.
HOME=$work/home "$cli" --db "$work/presets.sqlite" list >"$work/logs/seed.log" 2>&1 ||
  { cat "$work/logs/seed.log" >&2; die "lumigrave-cli could not set up its preset database"; }

tools=(ours transcode magick vips)
declare -A label=([ours]=lumigrave-cli [transcode]="djpeg|cjpeg" [magick]=ImageMagick [vips]=libvips)
for size in "${size_list[@]}"; do
  read -r w h < <(dims_for "$size")
  photo=$work/photos/photo-${size}mp.jpg
  echo "Generating the ${size} MP photo (${w} x ${h})..."
  # A plasma fractal, softened and given sensor-like noise, compresses like a photo
  # does; a flat or smooth picture would make every JPEG stage look too cheap.
  convert -seed "$size" -size "${w}x${h}" plasma:fractal -blur 0x2 \
    -attenuate 0.4 +noise Gaussian -quality 90 -sampling-factor 4:2:0 "$photo"
  read -r cover_w cover_h < <(cover_canvas "$w" "$h")
  for layout in centre tiled; do
    echo "Timing ${size} MP, $layout: the four tools in turn, rounds: $runs..."
    for ((run = 1; run <= runs; run++)); do
      for tool in "${tools[@]}"; do
        run_one "$tool" "$size" "$layout" "$run" "$photo" "$w" "$h"
      done
    done
  done
done
echo
if ((rebuilt)); then
  echo "note: $cli was rebuilt between its timed runs: its rows mix builds"
  echo
fi

python3 - "$results" <<'EOF'
import statistics, sys
from collections import defaultdict

dims = {"12": (4000, 3000), "24": (6000, 4000)}
names = {"ours": "lumigrave-cli", "transcode": "djpeg|cjpeg", "magick": "ImageMagick",
         "vips": "libvips"}
data = defaultdict(list)
order = []
for line in open(sys.argv[1]):
    size, layout, tool, run, secs, peak, cpu = line.rstrip("\n").split("\t")
    if (size, layout) not in order:
        order.append((size, layout))
    data[size, layout, tool].append((float(secs), int(peak), float(cpu)))

for size, layout in order:
    w, h = dims[size]
    decoded = w * h * 4 / 2**20
    print(f"{size} MP ({w} x {h}, decoded RGBA {decoded:.1f} MiB), {layout}")
    print(f"  {'tool':<14}{'median s':>9}{'min s':>9}{'max s':>9}{'cpu s':>8}"
          f"{'peak MiB':>10}{'x ours':>8}")
    ours = statistics.median(s for s, _, _ in data[size, layout, "ours"])
    for tool in ("ours", "transcode", "magick", "vips"):
        runs = data[size, layout, tool]
        secs = [s for s, _, _ in runs]
        med = statistics.median(secs)
        peak = statistics.median(p for _, p, _ in runs) / 1024
        cpu = statistics.median(c for _, _, c in runs)
        print(f"  {names[tool]:<14}{med:9.3f}{min(secs):9.3f}{max(secs):9.3f}{cpu:8.2f}"
              f"{peak:10.1f}{med / ours:8.2f}")
    floor = statistics.median(s for s, _, _ in data[size, layout, "transcode"])
    print(f"  lumigrave-cli / transcode: {ours / floor:.2f}")
    print()
print("x ours: the tool's median time over lumigrave-cli's (above 1: slower than ours).")
print("cpu s: user + system time; above the wall time means the tool used both cores.")
EOF
