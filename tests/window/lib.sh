# The real-window tests' own checks: the four views recognised on the screen by their colours.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/xsession.sh"

# ScaleLeft ScaleTop ScaleWidth of each view; the time view's at the starting speed, rpm 8.
ENGINE="-110 150 300"
CRANK="-103 85 300"
TIME="-618 85 1800"
HELP="-115 165 300"

# expect_colours left top width (label rrggbb x y)...: SHOT's colours at user points under a
# view's scale.
expect_colours() {
  local scale="$1 $2 $3" labels= want= points=() got
  shift 3
  while (($#)); do
    labels+="$1, " want+="$2 " points+=($(to_pixel $scale "$3" "$4")) && shift 4
  done
  got=$(colours "${points[@]}")
  [[ "$got " == "$want" ]] || fail "${labels%, }: $got, expected ${want% }"
}

# expect_view view: a screenshot that shows the view (engine, crank, time or help), each known
# by colours that only it has at those places, in the starting colours.
expect_view() {
  screenshot
  case $1 in
  engine)
    expect_colours $ENGINE "Tessimo spot" ff0000 -31.25 -82.08 "Lumivent spot" 00ffff 43.75 -82.08 \
      "Corvane intake spot" 00c0c0 118.75 -82.08 "Corvane exhaust spot" ff8000 181.25 -25.62
    # The margin (or the canvas's empty corner) in the background colour.
    [[ $(colours 0 $((CLIENT_H - 1))) == ffffff ]] || fail "client area's corner not white"
    ;;
  crank)
    expect_colours $CRANK "crank-angle view: top area" 00ff00 -71 -54 \
      "middle area" ff0000 -71 -204 "bottom area" 0000ff 60 -300
    ;;
  time) # the bottom area narrower than in the crank-angle view
    expect_colours $TIME "time view: bottom area" 0000ff 60 -300
    expect_colours $CRANK "time view: beyond the curves" ffffff 60 -300
    ;;
  help) # text along the first line, no figure below it
    local ink line
    line="$((CLIENT_W / 2))x20+$(to_pixel $HELP -102 150 | tr ' ' +)"
    ink=$(convert "$SHOT" -crop "$line" -fill black +opaque white -format "%[fx:1-mean]" info:)
    awk -v i="$ink" 'BEGIN { exit !(i > 0.02 && i < 0.5) }' || fail "help page: ink $ink on line 1"
    expect_colours $ENGINE "no figure on the help page" ffffff -31.25 -82.08
    ;;
  esac
}

# still, moving: whether two screenshots in a row are alike.
twice_alike() { screenshot "$WORK/twice.ppm" && screenshot && cmp -s "$SHOT" "$WORK/twice.ppm"; }
still() { twice_alike || fail "the picture moves"; }
moving() { ! twice_alike || fail "the picture stands still"; }
