#!/usr/bin/env python3
"""One CTest per GoogleTest case for a test program that is costly to start
(the Windows build under Wine): the program runs once and writes its XML
report, and each case's own CTest reads its verdict from that report.

  gtest_case.py run REPORT COMMAND...   runs COMMAND, which writes REPORT;
                                        fails only when no report was written
  gtest_case.py check REPORT SUITE NAME passes when every instance of SUITE.NAME
                                        (parameterized ones included) passed;
                                        exits 77 when they were all skipped
"""
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

SKIPPED = 77


def run(report, command):
    if os.path.exists(report):
        os.remove(report)
    # The program is given the report's bare name and runs in its folder: a
    # Windows program under Wine would read a Unix path as relative.
    folder, name = os.path.split(os.path.abspath(report))
    status = subprocess.call(command + ["--gtest_output=xml:" + name], cwd=folder)
    if not os.path.exists(report):
        print(f"the test program ended with {status} and wrote no report")
        return 1
    # The cases' verdicts are their own CTests'; a failing case is not this
    # run's failure, or CTest would not run the checks that name it.
    print(f"the test program ended with {status}; report in {report}")
    return 0


def instances(root, suite, name):
    """SUITE.NAME itself, and Prefix/SUITE.NAME/N for a parameterized case."""
    for case in root.iter("testcase"):
        classname = case.get("classname", "")
        case_name = case.get("name", "")
        if classname != suite and not classname.endswith("/" + suite):
            continue
        if case_name == name or case_name.startswith(name + "/"):
            yield case


def check(report, suite, name):
    try:
        root = ET.parse(report).getroot()
    except (OSError, ET.ParseError) as error:
        print(f"no readable report: {error}")
        return 1
    found = list(instances(root, suite, name))
    if not found:
        print(f"{suite}.{name} did not run")
        return 1
    failed = [c for c in found if c.find("failure") is not None]
    for case in failed:
        print(f"FAILED {case.get('classname')}.{case.get('name')}")
        for failure in case.iter("failure"):
            print(failure.get("message", "") or (failure.text or ""))
    if failed:
        return 1
    ran = [c for c in found if c.get("result", "completed") != "skipped"]
    print(f"{suite}.{name}: {len(ran)} of {len(found)} instance(s) ran and passed")
    return 0 if ran else SKIPPED


def main(argv):
    if len(argv) >= 3 and argv[1] == "run":
        return run(argv[2], argv[3:])
    if len(argv) == 5 and argv[1] == "check":
        return check(argv[2], argv[3], argv[4])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
