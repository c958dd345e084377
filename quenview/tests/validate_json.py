#!/usr/bin/env python3
"""Checks quenview's JSON against its schema: the report of every example
image and text, and comparisons (the same board, a changed block, a block
removed).

    validate_json.py QUENVIEW SCHEMA EXAMPLES_DIR WORK_DIR
"""
import json
import pathlib
import shutil
import subprocess
import sys

import jsonschema


def main():
    quenview, schema_path, examples, work = sys.argv[1:5]
    examples = pathlib.Path(examples)
    work = pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    schema = json.loads(pathlib.Path(schema_path).read_text())
    validator = jsonschema.Draft202012Validator(schema)

    satt3 = (examples / "satt3.bin").read_bytes()
    shorter = work / "satt3-shorter.bin"
    # The image without its second block (the modification record).
    second = int.from_bytes(satt3[2:4], "little")
    third = second + int.from_bytes(satt3[second + 2:second + 4], "little")
    shorter.write_bytes(satt3[:second] + satt3[third:])
    runs = [[str(p)] for p in sorted(examples.glob("*.bin")) + sorted(examples.glob("*.txt"))]
    runs += [[str(examples / "satt3.bin"), str(examples / "satt3.txt")],
             [str(examples / "satt3.bin"), str(shorter)],
             [str(examples / "mbrd.bin"), str(examples / "satt3.txt")]]
    failures = 0
    for number, inputs in enumerate(runs):
        output = work / f"{number}.json"
        result = subprocess.run([quenview, "--json", "-o", str(output)] + inputs,
                                capture_output=True, text=True)
        if result.returncode not in (0, 6) or not output.exists():
            print(f"FAIL {inputs}: status {result.returncode}: {result.stderr}")
            failures += 1
            continue
        document = json.loads(output.read_text(encoding="utf-8"))
        errors = list(validator.iter_errors(document))
        for error in errors[:3]:
            print(f"FAIL {inputs}: {'/'.join(map(str, error.path))}: {error.message[:200]}")
        failures += bool(errors)
    print(f"{len(runs) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
