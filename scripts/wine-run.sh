#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix (ctest's emulator for cross builds).
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
