"""Regenerates every picture of the resources from its drawing script."""
import importlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

for name in sorted(os.listdir(HERE)):
    if name.startswith("draw_") and name.endswith(".py") and name != "draw_all.py":
        importlib.import_module(name[:-3]).main(HERE)
        print("drew", name)
