#!/usr/bin/env python3
"""Holds the drawing format's schema to vekhost's loader: every bundled
example validates against it, and the drawings the loader refuses for their
fields do not.

    check-schema.py SCHEMA EXAMPLES-FOLDER BAD-DRAWING...
"""
import json
import pathlib
import sys

import jsonschema


def main():
    schema_path, examples, *refused = sys.argv[1:]
    schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    passed = failed = 0
    for path in sorted(pathlib.Path(examples).glob("*.json")):
        errors = list(validator.iter_errors(json.loads(path.read_text(encoding="utf-8"))))
        if errors:
            print(f"FAIL {path.name}: {errors[0].message}")
            failed += 1
        else:
            passed += 1
    for path in map(pathlib.Path, refused):
        if validator.is_valid(json.loads(path.read_text(encoding="utf-8"))):
            print(f"FAIL {path.name}: the schema takes what vekhost refuses")
            failed += 1
        else:
            passed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
