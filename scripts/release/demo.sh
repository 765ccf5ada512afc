#!/bin/sh
# Starts the show from the folder this script lies in, where it finds data/ and biisi.mp3.
#   ./demo.sh [width height] [--start SECONDS] [--dev [--paused]]
cd "$(dirname "$(readlink -f "$0")")" || exit 1
exec ./demo "$@"
