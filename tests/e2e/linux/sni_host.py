"""A stand-in for a desktop's panel on the session bus, run as its own process: it owns
org.kde.StatusNotifierWatcher with a host registered, as the panels of KDE, GNOME's
AppIndicator extension and XFCE do, and org.freedesktop.Notifications. It prints one JSON line
on its output for each thing a program does to it:
  {"ready": true}                                        both names are owned
  {"item": "<service>", "sender": "<unique name>"}       RegisterStatusNotifierItem
  {"notify": {"app": .., "summary": .., "body": .., "id": .., "replaces": .., ...}}   Notify
  {"layout_updated": <revision>, "parent": <id>, "sender": "<unique name>"}
  {"properties_updated": [<id>, ...], "sender": "<unique name>"}   ItemsPropertiesUpdated
and obeys lines on its input:
  invoke <id> <action>   sends ActionInvoked, as when the user clicks a notice's button
  close <id>             sends NotificationClosed, as when the notice expires

Run with Debian's python3, which has python3-dbus and python3-gi."""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
NOTIFICATIONS = "org.freedesktop.Notifications"


def report(**fields):
    sys.stdout.write(json.dumps(fields) + "\n")
    sys.stdout.flush()


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        self.items.append(service)
        report(item=str(service), sender=str(sender))
        self.StatusNotifierItemRegistered(service)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    # Spelt out: Qt reads the properties through an interface built from this description.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s",
                         path_keyword="path", connection_keyword="connection")
    def Introspect(self, path, connection):
        described = dbus.service.Object.Introspect(self, path, connection)
        properties = ('<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>'
                      '<property name="ProtocolVersion" type="i" access="read"/>'
                      '<property name="RegisteredStatusNotifierItems" type="as" access="read"/>')
        marker = '<interface name="%s">' % WATCHER
        return described.replace(marker, marker + properties)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"IsStatusNotifierHostRegistered": dbus.Boolean(True),
                "ProtocolVersion": dbus.Int32(0),
                "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s")}


class Notifications(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last_id = 0
        self.shown = set()

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        # A notice still shown is replaced in place and keeps its id, as the services do.
        if replaces in self.shown:
            identifier = int(replaces)
        else:
            self.last_id += 1
            identifier = self.last_id
        self.shown.add(identifier)
        report(notify={"app": str(app), "summary": str(summary), "body": str(body),
                       "actions": [str(a) for a in actions], "id": identifier,
                       "replaces": int(replaces), "icon": str(icon), "timeout": int(timeout),
                       "urgency": int(hints["urgency"]) if "urgency" in hints else None,
                       "desktop_entry": str(hints.get("desktop-entry", "")),
                       "image_data": "image-data" in hints})
        return identifier

    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["body", "actions"]

    @dbus.service.method(NOTIFICATIONS, out_signature="ssss")
    def GetServerInformation(self):
        return ("test-notifications", "portmaven tests", "1", "1.2")

    @dbus.service.method(NOTIFICATIONS, in_signature="u")
    def CloseNotification(self, notification):
        pass

    @dbus.service.signal(NOTIFICATIONS, signature="us")
    def ActionInvoked(self, notification, action):
        pass

    @dbus.service.signal(NOTIFICATIONS, signature="uu")
    def NotificationClosed(self, notification, reason):
        self.shown.discard(int(notification))


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    notifications = Notifications(bus)
    names = [dbus.service.BusName(WATCHER, bus), dbus.service.BusName(NOTIFICATIONS, bus)]

    def layout_updated(revision, parent, sender=None):
        report(layout_updated=int(revision), parent=int(parent), sender=str(sender))

    bus.add_signal_receiver(layout_updated, signal_name="LayoutUpdated",
                            dbus_interface="com.canonical.dbusmenu", sender_keyword="sender")

    def properties_updated(updated, removed, sender=None):
        ids = sorted({int(i) for i, _ in updated} | {int(i) for i, _ in removed})
        report(properties_updated=ids, sender=str(sender))

    bus.add_signal_receiver(properties_updated, signal_name="ItemsPropertiesUpdated",
                            dbus_interface="com.canonical.dbusmenu", sender_keyword="sender")
    loop = GLib.MainLoop()

    def command(channel, condition):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        words = line.split()
        if words and words[0] == "invoke":
            notifications.ActionInvoked(dbus.UInt32(int(words[1])), words[2])
        elif words and words[0] == "close":
            # Reason 1: expired.
            notifications.NotificationClosed(dbus.UInt32(int(words[1])), dbus.UInt32(1))
        return True

    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, command)
    report(ready=True)
    loop.run()
    del names, watcher


if __name__ == "__main__":
    main()
