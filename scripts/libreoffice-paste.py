#!/usr/bin/python3
# Pastes the clipboard into a new Draw document of a running LibreOffice
# (started with --accept on port 2002, as scripts/paste-check.sh does),
# prints what arrived, and draws the first pasted shape into a PNG file.
# Usage: libreoffice-paste.py OUT.png
import sys
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


local = uno.getComponentContext()
resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
for _ in range(240):
    try:
        ctx = resolver.resolve("uno:socket,host=localhost,port=2002;urp;StarOffice.ComponentContext")
        break
    except Exception:
        time.sleep(0.5)
else:
    sys.exit("LibreOffice did not answer on port 2002")

smgr = ctx.ServiceManager
desktop = smgr.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
doc = desktop.loadComponentFromURL("private:factory/sdraw", "_blank", 0, ())
frame = doc.getCurrentController().getFrame()
dispatcher = smgr.createInstanceWithContext("com.sun.star.frame.DispatchHelper", ctx)
dispatcher.executeDispatch(frame, ".uno:Paste", "", 0, ())
page = doc.getDrawPages().getByIndex(0)
if page.getCount() == 0:
    doc.close(True)
    sys.exit("LibreOffice pasted nothing")
for i in range(page.getCount()):
    shape = page.getByIndex(i)
    kind = shape.getShapeType()
    try:
        kind += " " + {1: "pixels", 2: "vector"}.get(shape.Graphic.Type, "other")
    except Exception:
        pass
    size = shape.getSize()
    print("libreoffice: %s %dx%d (1/100 mm)" % (kind, size.Width, size.Height))
export = smgr.createInstanceWithContext("com.sun.star.drawing.GraphicExportFilter", ctx)
export.setSourceDocument(page.getByIndex(0))
export.filter((prop("URL", uno.systemPathToFileUrl(sys.argv[1])), prop("MediaType", "image/png")))
doc.close(True)
