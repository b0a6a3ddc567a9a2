#!/bin/sh
# The FFmpeg command that does the work of the export benchmark's sample, for a side-by-side
# figure: decode the 1080p movie, lay the 640x360 rectangle moving from the top-left to the
# bottom-right corner over it, and write YUY2 video with 16-bit sound into an AVI file.
#   bench/export/ffmpeg_equivalent.sh SAMPLE_DIR OUT.avi
# SAMPLE_DIR is what `velumo_export_bench --make-sample` wrote. Needs the ffmpeg program
# (Debian package ffmpeg); time it with the benchmark, e.g. with hyperfine:
#   hyperfine --prepare 'rm -f a.avi b.avi' 'bench/export/ffmpeg_equivalent.sh DIR a.avi' \
#     'velumo_export_bench DIR/export_scene.vlp2 b.avi --video YUY2 --audio PCM16'
set -eu
[ $# -eq 2 ] || { echo "usage: $0 SAMPLE_DIR OUT.avi" >&2; exit 2; }
exec ffmpeg -loglevel error -y -i "$1/export_movie.mp4" -i "$1/export_sound.wav" \
  -f lavfi -i color=c=0x40a0ff:s=640x360:r=30 \
  -filter_complex "[0:v][2:v]overlay=x='1280*n/299':y='720*n/299':shortest=1,format=yuyv422[v]" \
  -map "[v]" -map 1:a -frames:v 300 -c:v rawvideo -c:a pcm_s16le "$2"
