#!/usr/bin/env python3
"""Exits 0 when the X display in DISPLAY has a notification area, that is when
some client owns the _NET_SYSTEM_TRAY_S<screen> selection; 1 when none does,
2 when the display cannot be opened. Needs only python3 and libX11."""
import ctypes
import ctypes.util
import sys

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultScreen.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XGetSelectionOwner.restype = ctypes.c_ulong
x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit(2)
selection = b"_NET_SYSTEM_TRAY_S%d" % x11.XDefaultScreen(display)
owner = x11.XGetSelectionOwner(display, x11.XInternAtom(display, selection, 0))
x11.XCloseDisplay(display)
sys.exit(0 if owner else 1)
