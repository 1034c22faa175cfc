#!/usr/bin/python3
"""Prints what a screen reader sees of the running brindle: each showing object with a name, a
description or a text, as role, announced name (its label's), description and text, tab-separated."""
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


programs = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "brindle"] or sys.exit(
    "brindle is not on the accessibility bus")
for node in showing(programs[0]):
    labels = [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    announced = (labels or [None])[0] or node.name
    # A list that Qt names by its text is announced by its label, then by that text.
    text = text_of(node) or (node.name if announced != node.name else "")
    if announced or node.description or text:
        print("\t".join(f.replace("\n", " ").replace("\t", " ") for f in (node.getRoleName(), announced, node.description, text)))
