"""A Wine prefix of a test's own, made afresh on the test's display and ended with
it: a prefix's desktop process belongs to the X display it started on."""
import os
import shutil
import subprocess
import sys


def download_and_source(usage, fail):
    """The zip and the source folder named on the command line (`usage` otherwise)."""
    if len(sys.argv) != 3:
        fail(usage)
    package, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not os.path.isfile(package):
        fail("no %s: make it with tools/package-windows.sh" % package)
    return package, source


def make_prefix(display, work, overrides="mscoree,mshtml="):
    """The environment to run Windows programs in, with a new prefix under `work`."""
    env = dict(display.env, WINEDEBUG="-all", WINEDLLOVERRIDES=overrides)
    # llvmpipe's anisotropic filter blurs 1:1 sprites and slows frames: hidden,
    # pictures are filtered as on hardware.
    env["MESA_EXTENSION_OVERRIDE"] = ("-GL_EXT_texture_filter_anisotropic "
                                      "-GL_ARB_texture_filter_anisotropic")
    env["WINEPREFIX"] = os.path.join(work, "prefix")
    subprocess.run(["wineboot", "--init"], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                    "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"], env=env,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return env


def end(env, display, work):
    """Stops the prefix's Wine server (when one was made), the display, and the folder."""
    if env is not None:
        subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
    if display is not None:
        display.close()
    shutil.rmtree(work, ignore_errors=True)
