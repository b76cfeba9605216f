# Shared by the scripts that run the real game: an X server of its own and a fresh user folder.
# Source it; it sets DISPLAY and KESMIR_HOME and cleans up on exit. Call kesmir_wait_window to get the
# game's window id.

kesmir_fail() { echo "$(basename "$0"): FAIL: $*" >&2; exit 1; }

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || kesmir_fail "$tool is missing (scripts/install-deps installs it)"
done

KESMIR_HOME=$(mktemp -d)
export KESMIR_HOME SDL_AUDIODRIVER=dummy
xvfb_pid=""
game_pid=""
kesmir_cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$KESMIR_HOME"
}
trap kesmir_cleanup EXIT

# The X server picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$KESMIR_HOME/.display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$KESMIR_HOME/.display" ] && break; sleep 0.1; done
[ -s "$KESMIR_HOME/.display" ] || kesmir_fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$KESMIR_HOME/.display")"
rm -f "$KESMIR_HOME/.display"

# A windowed player's options file: maps already made, volume 70.
mkdir -p "$KESMIR_HOME/OtherFiles"
printf '0\r\n0\r\n0\r\n8\r\n0\r\n0\r\n0\r\n70\r\n0\r\n0\r\n0\r\n1\r\n8\r\n0\r\n' > "$KESMIR_HOME/OtherFiles/Options.txt"

# Prints the id of the window captioned "Kesmir 1.14 - 27.08.2002" once it appears.
kesmir_wait_window() {
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Kesmir 1\.14 - 27\.08\.2002$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && { echo "$window"; return 0; }
    kill -0 "$game_pid" 2>/dev/null || kesmir_fail "the game ended before its window appeared"
    sleep 0.1
  done
  kesmir_fail "no window captioned \"Kesmir 1.14 - 27.08.2002\""
}

# CPU time (user + system) of a process in clock ticks.
kesmir_cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
