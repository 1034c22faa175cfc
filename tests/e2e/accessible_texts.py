#!/usr/bin/python3
"""Prints what a screen reader sees of the running brindle: each showing object with a name, a
description or a text, as role, name as announced (by its label when another labels it),
description and text (or value), tab-separated."""
import sys

import pyatspi


def text_of(node):
    for read in (lambda: node.queryText().getText(0, -1), lambda: str(node.queryValue().currentValue)):
        try:
            return read()
        except NotImplementedError:
            pass
    return ""


def announced_name(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getTarget(0).name:
            return relation.getTarget(0).name
    return node.name


def showing(node, depth=0):
    if node is not None and depth < 25:
        if node.getState().contains(pyatspi.STATE_SHOWING):
            yield node
        for child in node:
            yield from showing(child, depth + 1)


programs = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "brindle"]
if not programs:
    sys.exit("brindle is not on the accessibility bus")
for node in showing(programs[0]):
    announced = announced_name(node)
    # A list that Qt names by its text is announced by its label, then by that text.
    text = text_of(node) or (node.name if announced != node.name else "")
    if announced or node.description or text:
        fields = [node.getRoleName(), announced, node.description, text]
        print("\t".join(field.replace("\n", " ").replace("\t", " ") for field in fields))
