#!/usr/bin/python3
"""What a screen reader sees of the running program.

accessible_texts.py
    prints every showing object that has a name, a description or a text: role, name as a
    screen reader announces it, description, text (or value) and its extent on the screen as
    x,y,width,height, tab-separated. An object labelled by another is announced by that label's
    name, as screen readers do.
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


def announced_name(node):
    try:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                label = relation.getTarget(0)
                if label is not None and label.name:
                    return label.name
    except Exception:
        pass
    return node.name


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
            if node.getRoleName() == role and announced_name(node) == name and box and box.width > 0:
                print(box.x + box.width // 2, box.y + box.height // 2)
                return 0
        print(f"no showing {role} named {name!r}", file=sys.stderr)
        return 1
    for node in showing_objects(application):
        announced = announced_name(node)
        # A list that Qt names by its text is announced by its label, then by that text.
        text = text_of(node) or (node.name if announced != node.name else "")
        if not (announced or node.description or text):
            continue
        box = extents_of(node)
        where = f"{box.x},{box.y},{box.width},{box.height}" if box else ""
        fields = [node.getRoleName(), announced, node.description, text, where]
        print("\t".join(field.replace("\n", " ").replace("\t", " ") for field in fields))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
