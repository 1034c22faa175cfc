#!/usr/bin/python3
"""What a screen reader sees of the running program.

accessible_texts.py
    prints every showing object that has a name or a description: role, name, description,
    text (or value) and its extent on the screen as x,y,width,height, tab-separated.
accessible_texts.py --centre ROLE NAME
    prints "x y", the screen position of the middle of the first showing object with that role
    and name, and fails when there is none.
"""
import sys

import pyatspi

PROGRAM = "brindle"


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    try:
        return str(node.queryValue().currentValue)
    except NotImplementedError:
        return ""


def showing_objects(node, depth=0):
    if node is None or depth > 25:
        return
    try:
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        showing = False
    if showing:
        yield node
    for child in node:
        yield from showing_objects(child, depth + 1)


def extents_of(node):
    try:
        return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except Exception:
        return None


def program():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == PROGRAM:
            return application
    return None


def main(arguments):
    application = program()
    if application is None:
        print(f"{PROGRAM} is not on the accessibility bus", file=sys.stderr)
        return 1
    if len(arguments) == 3 and arguments[0] == "--centre":
        role, name = arguments[1], arguments[2]
        for node in showing_objects(application):
            box = extents_of(node)
            if node.getRoleName() == role and node.name == name and box and box.width > 0:
                print(box.x + box.width // 2, box.y + box.height // 2)
                return 0
        print(f"no showing {role} named {name!r}", file=sys.stderr)
        return 1
    for node in showing_objects(application):
        if not (node.name or node.description):
            continue
        box = extents_of(node)
        where = f"{box.x},{box.y},{box.width},{box.height}" if box else ""
        fields = [node.getRoleName(), node.name, node.description, text_of(node), where]
        print("\t".join(field.replace("\n", " ").replace("\t", " ") for field in fields))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
