#!/usr/bin/env python3
"""Counts the test cases of one CTest run.

Usage: summarize.py SUITE CTEST_JUNIT RESULTS_DIR

A CTest test whose program left JUnit-style XML in RESULTS_DIR (NAME.xml, or
any *.xml under NAME/) counts each case of that XML; a test without such a
file counts as one case. A test that CTest saw fail while its XML shows no
failure (a crash after the report, a warning check) adds one failure.
Prints "SUITE: N passed, N failed" and exits 1 when anything failed.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def case_counts(xml_files):
    passed = failed = 0
    for path in xml_files:
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError:
            failed += 1
            continue
        suites = [root] if root.tag == "testsuite" else root.iter("testsuite")
        for suite in suites:
            tests = int(suite.get("tests", 0))
            bad = int(suite.get("failures", 0)) + int(suite.get("errors", 0))
            skipped = int(suite.get("skipped", 0)) + int(suite.get("disabled", 0))
            passed += tests - bad - skipped
            failed += bad
    return passed, failed


def main():
    suite, ctest_junit, results = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
    passed = failed = 0
    if not ctest_junit.exists():
        print(f"{suite}: no test ran")
        print(f"{suite}: 0 passed, 1 failed")
        return 1
    for case in ET.parse(ctest_junit).getroot().iter("testcase"):
        name = case.get("name")
        ok = case.get("status") == "run" and case.find("failure") is None
        files = [results / f"{name}.xml"] if (results / f"{name}.xml").exists() else []
        if (results / name).is_dir():
            files += sorted((results / name).rglob("*.xml"))
        if files:
            p, f = case_counts(files)
            if not ok and f == 0:
                f = 1
        else:
            p, f = (1, 0) if ok else (0, 1)
        passed += p
        failed += f
    print(f"{suite}: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
