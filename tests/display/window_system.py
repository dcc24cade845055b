#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Requests to the X server that a window manager would otherwise make (there is none
under Xvfb). DISPLAY comes from the environment.

  window_system.py close WINDOW_ID   ask the window to close as its title-bar close button
                                     does: a WM_DELETE_WINDOW client message
  window_system.py drop-focus        give the keyboard focus to no window, so that no text
                                     cursor blinks in a screenshot
"""
import sys

from Xlib import X, display, protocol


def close(d: display.Display, window_id: str) -> int:
    window = d.create_resource_object("window", int(window_id, 0))
    wm_protocols = d.intern_atom("WM_PROTOCOLS")
    wm_delete = d.intern_atom("WM_DELETE_WINDOW")
    if wm_delete not in (window.get_wm_protocols() or []):
        print("window %s does not take WM_DELETE_WINDOW" % window_id, file=sys.stderr)
        return 1
    message = protocol.event.ClientMessage(
        window=window, client_type=wm_protocols, data=(32, [wm_delete, X.CurrentTime, 0, 0, 0])
    )
    window.send_event(message, event_mask=X.NoEventMask)
    return 0


def drop_focus(d: display.Display) -> int:
    d.set_input_focus(X.NONE, X.RevertToNone, X.CurrentTime)
    return 0


def main() -> int:
    d = display.Display()
    if len(sys.argv) == 3 and sys.argv[1] == "close":
        status = close(d, sys.argv[2])
    elif len(sys.argv) == 2 and sys.argv[1] == "drop-focus":
        status = drop_focus(d)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    d.sync()
    d.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
