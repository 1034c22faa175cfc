#!/usr/bin/python3
"""A notification server that holds notifications back, or one that never answers.

notifications_standin.py inhibited|silent
    owns org.freedesktop.Notifications on the session bus: `inhibited` serves its Inhibited
    property as true; `silent` takes every call and answers none, as a server that hangs.
"""
import sys

from gi.repository import Gio, GLib

NAME, PATH = "org.freedesktop.Notifications", "/org/freedesktop/Notifications"
INTERFACE = Gio.DBusNodeInfo.new_for_xml(
    f'<node><interface name="{NAME}"><property name="Inhibited" type="b" access="read"/></interface></node>'
).interfaces[0]

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
if sys.argv[1] == "silent":
    # A filter that keeps a call drops it, so it is never answered.
    bus.add_filter(lambda connection, message, incoming: None if incoming and message.get_path() == PATH else message)
else:
    bus.register_object(PATH, INTERFACE, None, lambda *_: GLib.Variant("b", True), None)
Gio.bus_own_name_on_connection(bus, NAME, Gio.BusNameOwnerFlags.NONE, None, None)
GLib.MainLoop().run()
