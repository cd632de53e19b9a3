#!/usr/bin/env python3
"""Reads CMakePresets.json, resolving inheritance, for CI.

  presets.py cross   one line per cross target's test preset: its name, the
                     Debian packages it needs (comma-separated), and "exact"
                     for a correctly rounded build or "masked"
  presets.py cross-count   the number of configure presets, hidden ones
                     aside, that take a toolchain file, theirs or inherited
  presets.py check   fails unless every configure preset builds in a tree of
                     its own, build-PRESET (never in the user's build/), and
                     every test preset fails when it finds no test
"""
import json
import os
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
with open(os.path.join(root, "CMakePresets.json")) as f:
    presets = json.load(f)
configure = {p["name"]: p for p in presets["configurePresets"]}
test = {p["name"]: p for p in presets["testPresets"]}


def parents(p):
    """The presets p inherits from, in order."""
    inherits = p.get("inherits", [])
    return [inherits] if isinstance(inherits, str) else inherits


def resolved(name, key, kind=configure):
    """The value of key in the preset name of kind or the first it inherits
    that has it, depth first as CMake resolves it; key may be a path of keys
    such as "execution.noTestsAction"."""
    p = kind[name]
    v = p
    for k in key.split("."):
        v = v.get(k) if isinstance(v, dict) else None
    if v is not None:
        return v
    for parent in parents(p):
        v = resolved(parent, key, kind)
        if v is not None:
            return v
    return None


def cache(name):
    """The cache variables of configure preset name, inherited ones merged."""
    p = configure[name]
    merged = {}
    for parent in reversed(parents(p)):
        merged.update(cache(parent))
    merged.update(p.get("cacheVariables", {}))
    return merged


if sys.argv[1:] == ["cross"]:
    for t in presets["testPresets"]:
        c = t.get("configurePreset")
        if c and resolved(c, "toolchainFile"):
            memspec = resolved(c, "vendor")["memspec"]
            cr = cache(c).get("MEMSPEC_CORRECTLY_ROUNDED") == "ON"
            print(t["name"], ",".join(memspec["debian"]), "exact" if cr else "masked")
elif sys.argv[1:] == ["cross-count"]:
    print(sum(1 for name, p in configure.items()
              if not p.get("hidden") and resolved(name, "toolchainFile")))
elif sys.argv[1:] == ["check"]:
    bad = []
    shown = [name for name, p in configure.items() if not p.get("hidden")]
    for name in shown:
        d = resolved(name, "binaryDir").replace("${presetName}", name)
        if d != "${sourceDir}/build-" + name:
            bad.append("%s builds in %s, not ${sourceDir}/build-%s" % (name, d, name))
    for name, p in test.items():
        if not p.get("hidden") and resolved(name, "execution.noTestsAction", test) != "error":
            bad.append("test preset %s passes when it finds no test" % name)
    print("\n".join(bad) or "%d configure presets, each in build-PRESET; every test preset "
          "fails on no tests" % len(shown))
    sys.exit(1 if bad else 0)
else:
    sys.exit(__doc__)
