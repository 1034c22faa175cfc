#!/usr/bin/python3
"""Prints what a screen reader sees of the running brindle: each showing object with a name, a
description or a text, as role, announced name (its label's), description, text and what else a
tool may read (its own name where a label announces it, its accessible id, its attributes),
tab-separated."""
import sys

import pyatspi


def text_of(node):
    for read in (lambda: node.queryText().getText(0, -1), lambda: str(node.queryValue().currentValue)):
        try:
            return read()
        except NotImplementedError:
            pass
    return ""


def showing(node, depth=0):
    if node is not None and depth < 25:
        yield from [node] if node.getState().contains(pyatspi.STATE_SHOWING) else []
        for child in node:
            yield from showing(child, depth + 1)


def others(node, announced):
    """What a tool can read besides the four columns; the toolkit's own name is left out."""
    found = [node.name] if node.name and node.name != announced else []
    found += [node.get_accessible_id() or ""]
    found += [f"{k}={v}" for k, v in sorted(node.get_attributes().items()) if k != "toolkit"]
    return " ".join(f for f in found if f)


programs = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "brindle"] or sys.exit(
    "brindle is not on the accessibility bus")
for node in showing(programs[0]):
    labels = [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    announced = (labels or [None])[0] or node.name
    # A list that Qt names by its text is announced by its label, then by that text.
    text = text_of(node) or (node.name if announced != node.name else "")
    other = others(node, announced)
    if announced or node.description or text or other:
        fields = (node.getRoleName(), announced, node.description, text, other)
        print("\t".join(f.replace("\n", " ").replace("\t", " ") for f in fields))
