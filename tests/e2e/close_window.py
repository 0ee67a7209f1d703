"""close_window.py WINDOW_ID: asks an X window to close as a window manager's close button does, with a
WM_PROTOCOLS message WM_DELETE_WINDOW (DISPLAY from the environment)."""
import ctypes as C
import sys


class ClientMessage(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int), ("display", C.c_void_p),
                ("window", C.c_ulong), ("message_type", C.c_ulong), ("format", C.c_int), ("data", C.c_long * 5)]


class Event(C.Union):
    _fields_ = [("client", ClientMessage), ("pad", C.c_long * 24)]


x11 = C.CDLL("libX11.so.6")
x11.XOpenDisplay.restype, x11.XInternAtom.restype = C.c_void_p, C.c_ulong
x11.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
x11.XSendEvent.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_long, C.POINTER(Event)]
x11.XCloseDisplay.argtypes = [C.c_void_p]
display = x11.XOpenDisplay(None) or sys.exit("close_window: no display")
window = int(sys.argv[1])
event = Event(client=ClientMessage(type=33, window=window, message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", 0),
                                   format=32))  # 33: ClientMessage
event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, window, 0, 0, C.byref(event)) or sys.exit("close_window: the message was not sent")
x11.XCloseDisplay(display)  # flushes the message
