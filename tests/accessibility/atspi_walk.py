#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Starts the program given on the command line with the accessibility bus on, walks its objects as a
# screen reader sees them over AT-SPI, and fails on any object that takes the focus without a name.
# The system's own Python, which holds pyatspi. Runs inside a session bus of its own and an X server (see run.sh); every wait is bounded.
import os
import subprocess
import sys
import time

import pyatspi

LIMIT_SECONDS = 60
MOST_OBJECTS = 5000  # a list that grows without end must not keep the walk going


def find_application(program):
    deadline = time.monotonic() + LIMIT_SECONDS
    while time.monotonic() < deadline and program.poll() is None:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == program.pid and app.childCount > 0:
                    return app
            except Exception:  # an application that is going away
                continue
        time.sleep(0.2)
    return None


def status_of(app, program):
    """The description of the status once it names the game found; None after LIMIT_SECONDS."""
    deadline = time.monotonic() + LIMIT_SECONDS
    while time.monotonic() < deadline and program.poll() is None:
        for obj, _ in walk(app, [], set()):
            if obj.name == "Executable status" and "Detected!" in obj.description:
                return obj.description
        time.sleep(0.5)
    return None


def describe(obj):
    return "%s %r" % (obj.getRoleName(), obj.name)


def walk(obj, path, seen):
    """Yields (object, path to it) for every object below `obj`, `obj` included."""
    if len(seen) >= MOST_OBJECTS:
        return
    seen.add(hash(obj))
    yield obj, path
    for index in range(obj.childCount):
        child = obj.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, path + [describe(child)], seen)


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = find_application(program)
        if app is None:
            ended = program.poll()
            print("FAIL: the program " + ("ended with %d" % ended if ended is not None else
                                          "did not appear on the accessibility bus within %d s" % LIMIT_SECONDS))
            return 1
        status = status_of(app, program)  # the executable's check runs beside the window
        if status is None:
            print("FAIL: the status never said which game was found")
            return 1
        unnamed, focusable = [], []
        for obj, path in walk(app, [describe(app)], set()):
            if not obj.getState().contains(pyatspi.STATE_FOCUSABLE):
                continue
            focusable.append(describe(obj))
            if obj.description and obj.getRoleName() == "label":  # what a reader hears beside the name
                focusable[-1] += " (%s)" % obj.description.replace("\n", " / ")
            if not obj.name.strip():
                unnamed.append(" > ".join(path))
        window = app.getChildAtIndex(0)
        print("window: " + describe(window))
        print("%d objects take the focus; the controls among them:" % len(focusable))
        for line in focusable:
            if not line.startswith(("list item", "table cell")):  # entries say what they hold
                print("  " + line)
        if len(focusable) < 40 or "push button 'Apply'" not in focusable:
            print("FAIL: the window's controls were not found")
            return 1
        if window.getRoleName() == "filler":
            print("FAIL: the window is announced as a filler")
            return 1
        for line in unnamed:
            print("FAIL: no name: " + line)
        return 1 if unnamed else 0
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()


if __name__ == "__main__":
    sys.exit(main())
