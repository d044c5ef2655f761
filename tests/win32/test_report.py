"""One test case in GoogleTest's XML form, for tools/run-windows-tests.sh's count of
the test programs that are not GoogleTest's (a program without one counts as failed)."""
import os
import time


def report(program, case, passed, started):
    folder = os.environ.get("TESSAK_RESULTS_DIR")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    failure = "" if passed else '<failure message="see the test output"/>'
    with open(os.path.join(folder, program + ".xml"), "w") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                  '<testsuites tests="1" name="%s">\n'
                  '  <testsuite name="WindowsDownload" tests="1">\n'
                  '    <testcase name="%s" time="%.1f">%s</testcase>\n'
                  '  </testsuite>\n</testsuites>\n'
                  % (program, case, time.time() - started, failure))
