#!/usr/bin/python3
"""The input method's panel, for a moment: what a desktop user reads off the
panel's icon and picks from its menu, for the focused window.

Usage: mode_panel.py fcitx5|ibus [pick LABEL]

Prints mozc's mode as the panel shows it: fcitx5 names it ("Hiragana", "Half
ASCII"), ibus shows its symbol ("あ", "_A"); empty when mozc is not the
window's input method. A window must have the input method's focus: it waits
for one. "pick LABEL" first clicks the item of that label in
mozc's mode menu ("Half ASCII" under fcitx5, "Latin" under ibus) and prints the
mode shown once the input method has answered the click. Exits 1 when the panel
shows nothing, or the menu has no such item, within a few seconds.

fcitx5 talks to a panel that owns org.kde.impanel on the session bus (its
kimpanel addon), ibus to one that owns org.freedesktop.IBus.Panel on its own
bus. Each tells a panel the properties of the focused window the moment it
appears. Neither desktop here runs a panel otherwise: this one ends when it has
answered, and the input method goes back to having none.
"""
import sys

import gi

gi.require_version("IBus", "1.0")
from gi.repository import Gio, GLib, IBus  # noqa: E402

PATIENCE_MS = 5000


class Answer:
    """What the panel shows: the first mode it is told of, or with a pick, the
    first it is told of after the click."""

    def __init__(self, pick):
        self.pick = pick
        self.clicked = False
        self.shown = None
        self.status = 1
        self.loop = GLib.MainLoop()
        GLib.timeout_add(PATIENCE_MS, self.give_up)

    def give_up(self):
        self.loop.quit()
        return False

    def show(self, mode):
        self.shown = mode
        if self.pick is None or self.clicked:
            self.status = 0
            self.loop.quit()

    def run(self):
        self.loop.run()
        print(self.shown if self.status == 0 else "")
        return self.status


# fcitx5's properties read "path:label:icon:description:type". The input
# method's ("/Fcitx/im") is described by mozc's mode; mozc's modes are items of
# its own menu beside it, each labelled with the mode it picks.
def fcitx5(answer):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    menu_opened = False

    def trigger(path):
        bus.emit_signal(None, "/org/kde/impanel", "org.kde.impanel", "TriggerProperty",
                        GLib.Variant("(s)", (path,)))

    def on_properties(properties):
        nonlocal menu_opened
        for prop in properties:
            fields = prop.split(":")
            # Without a description no window has the focus (yet).
            if fields[0] == "/Fcitx/im" and len(fields) > 3 and fields[3]:
                # The keyboard layout has no modes.
                answer.show(fields[3] if fields[2].startswith("fcitx_mozc") else "")
        if answer.pick is not None and not menu_opened and answer.shown:
            menu_opened = True
            for prop in properties:
                fields = prop.split(":")
                if fields[0] != "/Fcitx/im" and fields[-1].startswith("menu"):
                    trigger(fields[0])

    def on_menu(items):
        for item in items:
            fields = item.split(":")
            if len(fields) > 1 and fields[1] == answer.pick and not answer.clicked:
                answer.clicked = True
                trigger(fields[0])

    def on_signal(_conn, _sender, _path, _iface, member, params, *_):
        if member == "RegisterProperties":
            on_properties(params.unpack()[0])
        elif member == "UpdateProperty":
            on_properties([params.unpack()[0]])
        elif member == "ExecMenu":
            on_menu(params.unpack()[0])

    bus.signal_subscribe(None, "org.kde.kimpanel.inputmethod", None, "/kimpanel", None,
                         Gio.DBusSignalFlags.NONE, on_signal)
    Gio.bus_own_name_on_connection(bus, "org.kde.impanel", Gio.BusNameOwnerFlags.NONE, None,
                                   None)
    return answer.run()


# ibus-mozc's "InputMode" menu shows the mode's symbol, and has one radio item
# for each mode. The items' checks it registers with a new panel are the ones it
# started with: only the symbol tells the mode then.
def ibus(answer):
    IBus.init()
    bus = IBus.Bus()
    if not bus.is_connected():
        return answer.run()

    def items(props):
        i = 0
        while (prop := props.get(i)) is not None:
            yield prop
            i += 1

    class Panel(IBus.PanelService):
        def do_register_properties(self, props):
            # None when no window has the focus (yet), or mozc is not the engine.
            menu = next((p for p in items(props) if p.get_key() == "InputMode"), None)
            if menu is None:
                return
            if answer.pick is not None and not answer.clicked:
                for mode in items(menu.get_sub_props()):
                    if mode.get_label().get_text() == answer.pick:
                        answer.clicked = True
                        self.property_activate(mode.get_key(), IBus.PropState.CHECKED)
                        return
            answer.show(menu.get_symbol().get_text())

        def do_update_property(self, prop):
            if prop.get_key() == "InputMode":
                answer.show(prop.get_symbol().get_text())

    panel = Panel(connection=bus.get_connection(), object_path=IBus.PATH_PANEL)
    bus.request_name(IBus.SERVICE_PANEL, 0)
    status = answer.run()
    panel.destroy()
    return status


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) not in (1, 3) or args[0] not in ("fcitx5", "ibus") or args[1:2] not in ([], ["pick"]):
        sys.exit(__doc__)
    which = fcitx5 if args[0] == "fcitx5" else ibus
    sys.exit(which(Answer(args[2] if len(args) == 3 else None)))
