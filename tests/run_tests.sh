#!/usr/bin/env bash
# Runs every test through CTest in the offscreen Qt platform, with a private
# PulseAudio server whose null sink gives the sound tests a real output.
set -uo pipefail
build_dir=$1
jobs=${2:-2}
root=$(cd "$(dirname "$0")/.." && pwd)

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

pulse_started=0
if command -v pulseaudio >/dev/null 2>&1; then
  export XDG_RUNTIME_DIR=$(mktemp -d /tmp/kdr-xdg.XXXXXX)
  export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse
  if pulseaudio --daemonize=yes --exit-idle-time=-1 --system=false \
       -n --load="module-null-sink sink_name=kdr_null" \
       --load="module-native-protocol-unix" >/dev/null 2>&1; then
    pulse_started=1
    export PULSE_SINK=kdr_null
    pactl set-default-sink kdr_null >/dev/null 2>&1 || true
  else
    echo "note: no PulseAudio server could be started; sound tests run silent" >&2
  fi
fi

cleanup() {
  if [ "$pulse_started" = 1 ]; then pulseaudio --kill >/dev/null 2>&1 || true; fi
  [ -n "${XDG_RUNTIME_DIR:-}" ] && rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

# Every test runs once: a test that fails once has failed.
cd "$build_dir" && ctest --output-on-failure -j "$jobs" --timeout 300
