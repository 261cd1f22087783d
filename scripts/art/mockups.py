"""Mock-ups of the updater's window for the contact sheet.

Each draws the window's pictures where the stylesheet places them (title
strip, body and firmware panels, value fields, device picture, info panel,
buttons, about overlay) with sample texts, so that the art can be judged in
place. Positions are the layout's, in window pixels at 1x.
"""
import textwrap
from dataclasses import dataclass

INK = "rgba(16,35,49,0.9)"
CAPTION = "rgba(10,20,26,0.9)"
HOVER = "rgb(70,100,122)"
DEVICE = "Trovix Studio"

STATUS_FRAME = {"error": 0, "ok": 1, "info": 2}
FIELD_FRAME = {"neutral": 0, "success": 1, "fail": 2}


@dataclass
class Page:
    title: str
    look: str
    message: str
    installed: str = "32 / 0x67"
    installed_state: str = "neutral"
    serial: str = "TVS4F20817"
    icon: int = 1  # status icon frame (0 ok, 1 error); None shows the busy wheel
    veil: bool = False
    action: str = None
    quit: str = "QUIT"
    focus: str = "action"
    hover: str = None
    about: bool = False


class Window:
    """Draws one mock window at an origin and a scale."""

    def __init__(self, sheet, x, y, scale):
        self.sheet, self.x, self.y, self.s = sheet, x, y, scale

    def at(self, x, y, w=0, h=0):
        s = self.s
        return self.x + x * s, self.y + y * s, w * s, h * s

    def picture(self, name, frame, x, y):
        px, py, _, _ = self.at(x, y)
        self.sheet.frame(name, frame, px, py, self.s)

    def stretched(self, name, frame, x, y, w, h):
        self.sheet.stretched(name, frame, self.at(x, y, w, h), self.s)

    def text(self, x, y, content, size, fill=INK, anchor="start"):
        px, py, _, _ = self.at(x, y)
        self.sheet.text(px, py, content, size * self.s, fill, anchor)

    def rect(self, x, y, w, h, fill):
        self.sheet.rect(*self.at(x, y, w, h), fill)


def draw_revisions(win, page):
    rows = [("33 / 0x67", "neutral", 100, "Newest Firmware"),
            (page.installed, page.installed_state, 100, "Installed Firmware"),
            (page.serial, "neutral", 200, "Serial Number")]
    for i, (value, state, width, caption) in enumerate(rows):
        top = 85 + 27 * i
        win.stretched("Text_Display", FIELD_FRAME[state], 38, top, width, 18)
        win.text(38 + width / 2, top + 13.5, value, 12, anchor="middle")
        win.text(38 + width + 9, top + 13.5, caption, 12, CAPTION)


def draw_info(win, page):
    win.stretched("Bg_Status", STATUS_FRAME[page.look], 28, 185, 570, 71)
    if page.icon is None:
        win.picture("Busywheel", 5, 40, 206)
    else:
        win.picture("Icon_Big_Status", page.icon, 40, 208)
    lines = textwrap.wrap(page.message, 86)
    top = 185 + 71 / 2 - (len(lines) * 16) / 2 + 12
    for i, line in enumerate(lines):
        win.text(73, top + 16 * i, line, 12)


def draw_button(win, text, x, focus, hover):
    if text is None:
        return
    name = "button_forward_focus_FU" if focus else "button_forward_FU"
    win.picture(name, 4 if hover else 0, x, 280)
    win.text(x + 52.5, 301, text, 13, HOVER if hover else INK, "middle")


def draw_about(win):
    win.rect(0, 0, 628, 336, "rgba(0,0,0,0.5)")
    left, top = 89 + 16, 31 + 10
    win.picture("Bg_Overlay_FU", 0, left, top)
    win.text(left + 13, top + 27, "TROVIX STUDIO UPDATER", 16, "#000000")
    win.text(left + 13, top + 57, "TVS Updater 1.1.0 (R147)", 11, "#000000")
    win.text(left + 13 + 226, top + 57, "\u00a9 2018", 11, "#000000")
    for i, line in enumerate(["Development: A. Developer, B. Engineer",
                              "Design: C. Designer", "Testing: D. Tester",
                              "Thanks to everyone who reported problems"]):
        win.text(left + 13, top + 102 + 16 * i, line, 11, "#000000")


def window(sheet, x, y, page, scale=1):
    """Draws the window with a page shown; returns its height on the sheet."""
    win = Window(sheet, x, y, scale)
    sheet.text(x, y + 14, page.title, 15, "#ffffff", extra="font-weight='bold'")
    win.y += 24
    win.rect(0, 0, 628, 336, "#f2f2f2")
    win.picture("Bg_Header_FU", 0, 9, 9)
    win.text(9 + 304.5, 9 + 23.5, "TROVIX STUDIO UPDATER", 13, anchor="middle")
    win.picture("Logo_VX", 0, 9 + 570, 9 + 9)
    win.stretched("Bg_Inner_FU", 0, 9, 56, 609, 270)
    win.stretched("Bg_Content", 0, 28, 75, 571, 92)
    draw_revisions(win, page)
    win.picture("device", 0, 449, 85)
    if page.veil:
        win.rect(449, 85, 95, 72, "rgba(255,255,255,0.85)")
    draw_info(win, page)
    draw_button(win, page.action, 494, page.focus == "action", page.hover == "action")
    draw_button(win, page.quit, 382, page.focus == "quit", page.hover == "quit")
    if page.about:
        draw_about(win)
    return 24 + 336 * scale


CONNECT = Page("Connect page (veil over the device)", "info",
               f"Please connect your {DEVICE} and click RESCAN.",
               installed="-", serial="-", veil=True, action="RESCAN")
OFFERED = Page("Update available (UPDATE focused, QUIT hovered)", "info",
               f"A firmware update is available for your {DEVICE}. To update the firmware "
               "now, click UPDATE. To update the firmware later, click QUIT.",
               installed_state="fail", action="UPDATE", hover="quit")
STANDBY = Page("Stand-by (busy wheel)", "info",
               f"Please stand by while your {DEVICE} is being updated and do not "
               "disconnect it from USB.", icon=None, quit=None, focus=None)
SUCCESS = Page("Success (FINISH focused)", "ok",
               f"The firmware of your {DEVICE} was successfully updated.",
               installed="33 / 0x67", installed_state="success", icon=0,
               quit="FINISH", focus="quit")
FAILED = Page("Error page", "error",
              f"An error occurred while updating your {DEVICE} (error -2). Please "
              f"disconnect the {DEVICE}, unpower it and quit the TVS Updater. Then "
              f"reconnect the {DEVICE}, restart TVS Updater and try performing the update "
              "again. Alternatively contact the VX Technical Support.", focus="quit")
ABOUT = Page("About overlay", "info", f"Please connect your {DEVICE} and click RESCAN.",
             installed="-", serial="-", veil=True, action="RESCAN", about=True)

# The mock-ups on the sheet, row by row: a page and the scale it is drawn at.
MOCKUPS = [
    [(CONNECT, 1), (OFFERED, 1), (STANDBY, 1)],
    [(SUCCESS, 1), (FAILED, 1), (ABOUT, 1)],
    [(OFFERED, 2)],
]
