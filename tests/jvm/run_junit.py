#!/usr/bin/env python3
"""Runs the JUnit 5 console launcher in a JVM with -Xcheck:jni.

Usage: run_junit.py --java JAVA --launcher JAR --class-path CP
                    --library-path DIRS --engine-dir DIR --reports DIR

The engine directory goes into LD_LIBRARY_PATH, so that the dependency of
rvxjava on librvx_txif.so resolves there. The JVM reports JNI misuse on its
output and still exits 0, so any such line fails the run; so does a run that
finds no tests, as when the class path misses the test classes.
"""
import argparse
import os
import subprocess
import sys

JNI_WARNINGS = ("WARNING in native method", "WARNING: JNI local refs")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--java", "--launcher", "--class-path", "--library-path", "--engine-dir",
                   "--reports"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    env = dict(os.environ)
    env["LD_LIBRARY_PATH"] = os.pathsep.join(
        p for p in (args.engine_dir, env.get("LD_LIBRARY_PATH")) if p)
    os.makedirs(args.reports, exist_ok=True)
    command = [args.java, "-Xcheck:jni", f"-Djava.library.path={args.library_path}",
               "-jar", args.launcher, "--disable-banner", "--details=summary",
               "--fail-if-no-tests",
               "--class-path", args.class_path, "--scan-class-path",
               "--reports-dir", args.reports]
    run = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         text=True, errors="replace")
    sys.stdout.write(run.stdout)
    # A warning can start in the middle of a line that other output began.
    warnings = [line for line in run.stdout.splitlines()
                if any(warning in line for warning in JNI_WARNINGS)]
    if warnings:
        print(f"{len(warnings)} JNI warning(s), the first: {warnings[0]}")
        return 1
    return run.returncode


if __name__ == "__main__":
    sys.exit(main())
