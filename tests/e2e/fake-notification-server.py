#!/usr/bin/python3
# A desktop notification service for tests, on the session bus.
#
#     fake-notification-server.py LOG READY
#
# It owns org.freedesktop.Notifications, answers Notify with the ids 1, 2, ...
# and writes every call it gets to LOG, one line each, its arguments as JSON:
#     Notify ["Kalvora", 0, "kalvora", "Kalvora", "...", ["default", "..."], {"desktop-entry": "kalvora", ...}, -1]
#     CloseNotification [1]
# On SIGUSR1 it emits ActionInvoked(<the last id>, "default"), as the user's
# click on the notification does. It writes READY once it owns the name.
import json
import signal
import sys

from gi.repository import Gio, GLib

INTERFACE = """
<node><interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
    <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
  </method>
  <method name="CloseNotification"><arg type="u" direction="in"/></method>
  <method name="GetCapabilities"><arg type="as" direction="out"/></method>
  <method name="GetServerInformation">
    <arg type="s" direction="out"/><arg type="s" direction="out"/><arg type="s" direction="out"/>
    <arg type="s" direction="out"/>
  </method>
  <signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
</interface></node>
"""
PATH = "/org/freedesktop/Notifications"
NAME = "org.freedesktop.Notifications"

log_path, ready_path = sys.argv[1], sys.argv[2]
last_id = 0
connection = None


def record(method, arguments):
    with open(log_path, "a", encoding="utf-8") as log:
        log.write("%s %s\n" % (method, json.dumps(arguments, ensure_ascii=False, sort_keys=True)))


def on_call(bus, sender, path, interface, method, parameters, invocation):
    global last_id
    arguments = parameters.unpack()
    if method == "Notify":
        record(method, list(arguments))
        last_id += 1
        invocation.return_value(GLib.Variant("(u)", (last_id,)))
    elif method == "CloseNotification":
        record(method, list(arguments))
        invocation.return_value(None)
    elif method == "GetCapabilities":
        invocation.return_value(GLib.Variant("(as)", (["actions", "body"],)))
    else:
        invocation.return_value(GLib.Variant("(ssss)", ("fake", "kalvora-tests", "1", "1.2")))


def click():
    connection.emit_signal(None, PATH, NAME, "ActionInvoked", GLib.Variant("(us)", (last_id, "default")))
    return GLib.SOURCE_CONTINUE


def on_bus(bus, name):
    global connection
    connection = bus
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    bus.register_object(PATH, node.interfaces[0], on_call, None, None)


def on_name(bus, name):
    open(ready_path, "w").close()


GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, click)
Gio.bus_own_name(Gio.BusType.SESSION, NAME, Gio.BusNameOwnerFlags.NONE, on_bus, on_name, None)
GLib.MainLoop().run()
