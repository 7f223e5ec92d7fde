"""The launcher window's design, drawn from code (tools/make_assets.py)."""
