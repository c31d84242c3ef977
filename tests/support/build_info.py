"""Facts of a build folder that the integration tests need, read from what the build generated."""
import os
import re


def window_title(build_dir):
    """The dashboard's versioned window title, as the build's version header defines it."""
    with open(os.path.join(build_dir, "generated", "tav_version.h")) as f:
        return re.search(r'#define TAV_TITLE_TEXT "([^"]*)"', f.read()).group(1)
