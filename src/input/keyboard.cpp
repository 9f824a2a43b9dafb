// The keyboard: every command key, the view cycle and the four keys that draw at once
// (colour reversal, the space bar into the help page, the graph key and the label key).
#include "engine/figure.h"
#include "input/handlers.h"
#include "text/help_page.h"
#include "text/titles.h"

namespace corvane {

namespace {

// The static engine figure again, in the new colours, over the window the reversal cleared.
void redrawEngineStatics(Program& p) {
  titl(p);
  oilchamber(p, 0);
  oilchamber(p, 75);
  oilcham(p, 150);
  if (p.st.plot == 0) oilchame(p, 148.9);
  for (const double a : {-75.0, 0.0, 75.0, 150.0})
    cylinder(p, a);
  if (p.st.devva == 1) engineLabel(p);
}

// "c": background and foreground change places; the window is cleared to the new background
// and the view in force is told (or, on the help page, shown again) to redraw.
void colourReversal(Program& p) {
  State& st = p.st;
  Surface& sf = p.sf;
  st.bco1 = st.bco;
  sf.BackColor(st.fco);  // a different colour: this clears the window
  sf.ForeColor(st.bco);
  st.bco = sf.BackColor();
  st.fco = sf.ForeColor();
  st.stall9 = 0;
  st.stall = 0;
  st.clse = 1;
  if (st.moo < 2) st.redraw = 1;
  if (st.moo == 2) {
    st.cylcyl = 1;
    redrawEngineStatics(p);
  }
  if (st.moo == 3) helpee(p);
}

// Space bar: 2 engines -> 1 lift v. crank angle -> 0 lift v. time -> 3 help page -> 2.
void nextView(Program& p) {
  State& st = p.st;
  st.moo = Mod(4 + st.moo - 1, 4);
  st.stall9 = 0;
  st.stall = 0;
  st.clse = 1;
  if (st.moo == 2) st.cylcyl = 1;
  if (st.moo == 3) helpee(p);  // returns only when a later space bar has left the page
}

// "p": the small lift graphs of the engine view cycle shown (1) -> to be erased (2) -> hidden
// (0); hidden, the Corvane exhaust chamber takes their place at once. In another view only
// the flags change: the engine view draws what they ask for when it is next shown.
void graphOption(Program& p) {
  State& st = p.st;
  st.plot = Mod(st.plot + 1, 3);
  st.plott = 1;
  if (st.plot == 0 && st.moo == 2) oilchame(p, 148.9);
}

// "t": the label beside the left engine's title changes; drawn at once in the engine view only.
void labelToggle(Program& p) {
  State& st = p.st;
  st.devva = Mod(st.devva + 1, 2);
  if (st.moo == 2) engineLabel(p);
}

}  // namespace

// No key matches two commands, so one switch stands for the tests made one after another.
// Each timing key tests the value before its step of 0.05 rad.
void Form_KeyPress(Program& p, int KeyAscii) {
  State& st = p.st;
  switch (KeyAscii) {
    case 27:  // ESC
      p.sf.Cls();
      p.host.End();
      break;  // not reached: End does not return
    case 'c':
    case 'C':
      colourReversal(p);
      break;
    case ' ':
      nextView(p);
      break;
    case '/':
      st.delno = Mod(st.delno + 1, 2);
      break;
    case '.':  // enter step mode, or let one more step run
      st.stall = Mod(st.stall + 1, 2);
      st.stall9 = 1;
      break;
    case ',':  // back to free running
      st.stall9 = 0;
      st.stall = 0;
      break;
    case 'a':
    case 'A':
      if (st.ingoing > 0.1) st.ingoing -= 0.05;
      break;
    case 's':
    case 'S':
      if (st.ingoing < 1.3 * st.pi) st.ingoing += 0.05;
      break;
    case 'l':
    case 'L':
      if (st.outgoing > 0.1) st.outgoing -= 0.05;
      break;
    case 'k':
    case 'K':
      if (st.outgoing < 2 * st.pi) st.outgoing += 0.05;
      break;
    case 'p':
    case 'P':
      graphOption(p);
      break;
    case 't':
    case 'T':
      labelToggle(p);
      break;
    default:  // every other character is ignored
      break;
  }
}

}  // namespace corvane
