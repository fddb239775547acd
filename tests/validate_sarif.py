#!/usr/bin/env python3
"""Validates `quenlit check --format sarif` against the SARIF 2.1.0 schema.

Usage: validate_sarif.py QUENLIT SOURCE_ROOT. Exit 0 when every document is valid,
1 when one is not, 77 (reported by ctest as skipped, with this script's reason)
when the schema file is not beside the checkout.
"""
import json
import os
import subprocess
import sys
import tempfile

quenlit, root = sys.argv[1], sys.argv[2]
schema_path = os.path.join(root, '..', 'shared', 'data', 'sarif', 'sarif-schema-2.1.0.json')
if not os.path.isfile(schema_path):
    print('SKIPPED: no SARIF schema at %s; the SARIF output was NOT validated' % os.path.normpath(schema_path))
    sys.exit(77)
try:
    import jsonschema
except ImportError:
    print('FAILED: python3-jsonschema is missing (scripts/setup installs it)')
    sys.exit(1)

with open(schema_path, encoding='utf-8') as f:
    validator = jsonschema.Draft4Validator(json.load(f))

with tempfile.TemporaryDirectory() as tmp:
    outside = os.path.join(tmp, 'outside dir', 'x:y.lsp')  # outside the working folder: an absolute URI
    os.makedirs(os.path.dirname(outside))
    with open(outside, 'w', encoding='utf-8') as f:
        f.write('(defun f (a) (setq b 1))\n')
    runs = {
        'fixtures': ['tests/fixtures/check'],
        'with an unreadable path and a file outside': ['tests/fixtures/check', os.path.join(tmp, 'missing.lsp'), outside],
        'nothing found': ['tests/fixtures/check/a-clean.lsp'],
    }
    failed = False
    for name, paths in runs.items():
        p = subprocess.run([quenlit, 'check', '--format', 'sarif'] + paths, cwd=root, capture_output=True)
        doc = json.loads(p.stdout.decode('utf-8'))
        errors = sorted(validator.iter_errors(doc), key=lambda e: list(e.path))
        results = doc['runs'][0]['results']
        print('%s: exit %d, %d results, %d schema errors' % (name, p.returncode, len(results), len(errors)))
        for e in errors[:10]:
            print('  at %s: %s' % ('/'.join(str(x) for x in e.path), e.message))
        failed = failed or bool(errors)
        if name == 'fixtures' and not results:
            print('  expected results from the fixtures')
            failed = True
sys.exit(1 if failed else 0)
