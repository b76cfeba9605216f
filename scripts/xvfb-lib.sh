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

# Gives the window the keyboard focus once it is shown: a window found by its caption may not be mapped yet,
# and X refuses the focus to a window that is not viewable.
kesmir_focus() {
  for _ in $(seq 100); do
    if xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' &&
      timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null; then
      return 0
    fi
    kill -0 "$game_pid" 2>/dev/null || kesmir_fail "the game ended before its window took the focus"
    sleep 0.1
  done
  kesmir_fail "the game's window did not take the keyboard focus"
}

# CPU time (user + system) of a process in clock ticks.
kesmir_cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# --- Looking at the screen, for a script that has set window (kesmir_wait_window) and shots (a folder for the
# screenshots); fullscreen=1 while the game covers the screen. ---------------------------------------------
geometry() {  # sets win_w and win_h
  win_w=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
  win_h=$(xwininfo -id "$window" | awk '/Height:/ {print $2}')
}
# The window point of a play-field point, for the windowed layout (canvas 300x378) or full screen (640x480
# canvas with the field at 170,50), at the largest whole scale that fits (or scaled down to fit a smaller
# window), centred as the game draws it: the middle of the window pixels that show the canvas pixel.
to_window() {  # field_x field_y -> "x y"
  geometry
  # Full screen covers the desktop. Without a window manager (as under Xvfb) the X window keeps its old
  # size while the game draws and reads the pointer for the whole desktop, so map onto the desktop.
  if [ "${fullscreen:-0}" = 1 ]; then read -r win_w win_h < <(xdotool getdisplaygeometry); fi
  local cw=300 ch=378 ox=0 oy=0
  if [ "${fullscreen:-0}" = 1 ]; then cw=640; ch=480; ox=170; oy=50; fi
  awk -v w="$win_w" -v h="$win_h" -v cw="$cw" -v ch="$ch" -v ox="$ox" -v oy="$oy" -v x="$1" -v y="$2" '
    function edge(c) { return int((c * num + den - 1) / den) }  # the first window pixel showing canvas c
    function middle(c) { return int((edge(c) + edge(c + 1)) / 2) }
    BEGIN {
    num = int(w / cw); if (int(h / ch) < num) num = int(h / ch); den = 1
    if (num < 1 && w * ch <= h * cw) { num = w; den = cw } else if (num < 1) { num = h; den = ch }
    dx = int((w - int(cw * num / den)) / 2); dy = int((h - int(ch * num / den)) / 2)
    printf "%d %d\n", dx + middle(ox + x), dy + middle(oy + y) }'
}
point() { xdotool mousemove --window "$window" $(to_window "$1" "$2"); sleep 0.15; }
shot() { /usr/bin/import -window "$window" "$shots/$1.png"; }
# Crops a field rectangle (x y w h) of a screenshot, in window pixels, to a new file.
crop() {  # shot x y w h out
  read -r x0 y0 < <(to_window "$2" "$3")
  read -r x1 y1 < <(to_window "$(( $2 + $4 ))" "$(( $3 + $5 ))")
  /usr/bin/convert "$shots/$1.png" -crop "$(( x1 - x0 ))x$(( y1 - y0 ))+$x0+$y0" +repage "$shots/$6.png"
}
navy_text() {  # shot x y w h: true when that field rectangle holds menu text (navy letters)
  crop "$1" "$2" "$3" "$4" "$5" probe
  local share
  share=$(/usr/bin/convert "$shots/probe.png" -alpha off -fuzz 15% -fill black +opaque 'rgb(0,0,128)' \
    -fill white -opaque 'rgb(0,0,128)' -format '%[fx:mean]' info:)
  awk -v s="$share" 'BEGIN { exit !(s > 0.03) }'
}
# Screens told apart by lines that only they draw, in the navy of menu text, and a running game draws no menu
# text at all. The map under the panel must be the mud map: the snow map can pass for navy text.
main_menu() { shot "$1" && navy_text "$1" 30 50 110 14 && ! navy_text "$1" 30 233 70 12; }
wait_for() {  # seconds command...: true once the command succeeds, tried until the time is up
  local deadline=$(( SECONDS + $1 )); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
