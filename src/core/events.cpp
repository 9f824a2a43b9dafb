#include "core/events.h"

#include <limits>

#include "core/engine_step.h"
#include "core/engine_view.h"
#include "input/handlers.h"
#include "text/help_page.h"

namespace corvane {

void Dispatcher::deliver(const Event& e) {
  Surface& sf = p_.sf;
  switch (e.kind) {
    case Event::Kind::Key:
      Form_KeyPress(p_, e.a);
      break;
    case Event::Kind::Nav:
      if (e.a >= static_cast<int>(NavKey::Up) && e.a <= static_cast<int>(NavKey::PageDown))
        Form_KeyDown(p_, static_cast<NavKey>(e.a));
      break;
    case Event::Kind::Move:
      // Only positions inside the client area reach the handler.
      if (e.a < 0 || e.b < 0 || e.a >= sf.clientWidth() || e.b >= sf.clientHeight()) break;
      Form_MouseMove(p_, 0, 0, static_cast<float>(sf.userX(e.a)),
                     static_cast<float>(sf.userY(e.b)));
      break;
    case Event::Kind::Down:
      Form_MouseDown(p_, e.a, 0, 0, 0);
      break;
    case Event::Kind::DblClick:
      Form_DblClick(p_);
      break;
    case Event::Kind::Resize:
      refit(p_, e.a, e.b);
      break;
    case Event::Kind::Close:
      p_.host.End();
  }
}

void refit(Program& p, int widthPx, int heightPx) {
  State& st = p.st;
  Surface& sf = p.sf;
  // The window may already have given the surface its new pixels.
  if (widthPx != sf.clientWidth() || heightPx != sf.clientHeight()) sf.resize(widthPx, heightPx);
  switch (st.moo) {
    case kEngineView:
      engineViewSettings(p);
      sf.Cls();
      engineStatics(p);
      // Within a cycle the figure is drawn here once, the moving parts where the last step
      // left them; a clear still due comes all the same.
      if (st.cylcyl == 0) engineParts(p);
      break;
    case kHelpView:
      drawHelpPage(p);
      break;
    default:
      // The graph view takes its own scale again: clear, titles, and a changed pass. s1 is
      // made to match it: a view entered just now (the time view from the crank-angle view or
      // the help page) still has the s1 of the view before, and the pointer's X / s1 would
      // leave the view's unscaled units.
      st.s1 = st.moo == kTimeView ? st.s / 300 : 1;
      sf.ScaleWidth(static_cast<float>(st.moo == kTimeView ? st.s : 300));
      sf.ScaleLeft(static_cast<float>(-103 * st.s1));
      st.clse = 1;
      st.redraw = 1;
      st.endin1 = std::numeric_limits<double>::quiet_NaN();  // differs from every endin
      break;
  }
}

}  // namespace corvane
