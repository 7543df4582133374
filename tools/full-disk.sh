#!/usr/bin/env bash
# Mounts or unmounts the small file systems that the tests of writes on a
# full disk fill to the last byte: one tmpfs of 1 MiB per folder given.
# Mounting needs root; where it is refused nothing is mounted, the tests that
# need a full disk say so and skip, and this script still succeeds.
#   tools/full-disk.sh mount FOLDER...
#   tools/full-disk.sh unmount FOLDER...
set -u
action="${1:-}"
shift || true
for folder in "$@"; do
  case "$action" in
    mount)
      mkdir -p "$folder"
      if ! mountpoint -q "$folder"; then
        mount -t tmpfs -o size=1m,mode=0777 tollgram-full-disk "$folder" 2>/dev/null ||
          echo "full disk: no tmpfs at $folder (mounting needs root); the full-disk tests skip"
      fi
      ;;
    unmount)
      if mountpoint -q "$folder"; then umount "$folder"; fi
      rmdir "$folder" 2>/dev/null || true
      ;;
    *)
      echo "usage: $0 mount|unmount FOLDER..." >&2
      exit 2
      ;;
  esac
done
exit 0
