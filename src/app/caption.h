// The window's caption: the title bar on the desktop, the page's title in a browser.
#pragma once

namespace corvane {

inline constexpr const char* kCaption =
    "          Corvane (outgoing air control) and Lumivent (outgoing and ingoing air control) "
    "versus Kestrom's Tessimo (ingoing air control)         SpaceBar    MouseMove: "
    "r.p.m.-Load    ESC:Quit";

}  // namespace corvane
