"""The program's window classes, control and tooltip ids and the place of the bar's buttons, as
its headers write them (harness.headers): a test names a control, it never restates its number."""
from types import SimpleNamespace

from .headers import define, defines

_CLOCK = "clock/win32/ClockWindowIds.h"
_NOTICE = "notify/win32/NoticeControlIds.h"
_HELP = "help/win32/HelpWindowIds.h"
_OPTIONS = "options/win32/OptionsControlIds.h"
_BAR = "clock/BarLayout.h"
_VERSION = "resources/version.h"


def _with_prefix(header, prefix):
    """The header's defines that start with prefix, by the rest of their names."""
    return SimpleNamespace(**{name[len(prefix):]: value for name, value in defines(header).items()
                              if name.startswith(prefix)})


CLOCK_CLASS = define(_CLOCK, "AMBREL_CLOCK_CLASS")
NOTICE_CLASS = define(_NOTICE, "AMBREL_NOTICE_CLASS")
OPTIONS_CLASS = define(_OPTIONS, "AMBREL_OPTIONS_CLASS")
HELP_CLASS = define(_HELP, "AMBREL_HELP_CLASS")
# The help window's read-only text.
HELP_TEXT = define(_HELP, "IDC_HELP_TEXT")

# The bar's tooltip tool over its display, which shows the hint and the alarm and countdown.
DISPLAY_TOOL = define(_CLOCK, "IDT_CLOCK_DISPLAY")
# The notice's controls: NOTICE.CLOSE, NOTICE.MESSAGE, NOTICE.HEADLINE.
NOTICE = _with_prefix(_NOTICE, "IDC_NOTICE_")
# The options dialog's controls by their names in the header: OPTIONS.OK, OPTIONS.ALARM_HOUR...
OPTIONS = _with_prefix(_OPTIONS, "IDC_OPTIONS_")

# The options dialog's title.
PRODUCT_NAME = define(_VERSION, "AMBREL_PRODUCT_NAME")


# The middle of the bar's options button, in client twips, and in client pixels at 96 dpi.
OPTIONS_BUTTON_TWIPS = (
    define(_BAR, "kOptionsButtonLeftTwips") + define(_BAR, "kButtonWidthTwips") // 2,
    define(_BAR, "kHeightTwips") // 2)
OPTIONS_BUTTON = tuple(t // define(_BAR, "kTwipsPerPixelAt96Dpi") for t in OPTIONS_BUTTON_TWIPS)
