#!/usr/bin/env python3
"""Fails when tests/INDEX.md names a test or a row that does not exist.

A row of the index's tables is | behaviour | test | row | how it is seen |.
The test must be one CTest knows (ctest --show-only=json-v1, run in the build
folder given as the first argument). The row is a GoogleTest case,
Suite.Name, which some TEST(Suite, Name) under tests/ must define; or a
check's words in double quotes, which must stand in a script that the test's
command runs.
"""
import json
import pathlib
import re
import subprocess
import sys

tests_dir = pathlib.Path(__file__).resolve().parent
listing = json.loads(subprocess.run(['ctest', '--show-only=json-v1'], cwd=sys.argv[1], check=True,
                                    capture_output=True, text=True).stdout)
commands = {t['name']: t.get('command', []) for t in listing['tests']}
gtest_cases = {'.'.join(case) for p in tests_dir.rglob('*') if p.suffix in ('.cpp', '.h') and p.is_file()
               for case in re.findall(r'\bTEST(?:_F|_P)?\(\s*(\w+)\s*,\s*(\w+)\s*\)', p.read_text(errors='replace'))}

faults = []
rows = 0
for number, line in enumerate((tests_dir / 'INDEX.md').read_text().splitlines(), 1):
    cells = [c.strip() for c in line.strip().strip('|').split('|')]
    if not line.startswith('|') or len(cells) != 4 or set(cells[1]) <= set('-: ') or cells[1] == 'test':
        continue
    rows += 1
    test, row = cells[1].strip('`'), cells[2].strip('`')
    if test not in commands:
        faults.append(f'INDEX.md:{number}: no test named {test}')
    elif row.startswith('"'):
        scripts = [pathlib.Path(arg) for arg in commands[test] if arg.endswith(('.sh', '.py'))]
        if not any(s.is_file() and row.strip('"') in s.read_text(errors='replace') for s in scripts):
            faults.append(f'INDEX.md:{number}: no check {row} in the scripts of {test}')
    elif row not in gtest_cases:
        faults.append(f'INDEX.md:{number}: no GoogleTest case {row} (for {test})')

print('\n'.join(faults))
print(f'{rows} rows of the index checked, {len(faults)} name nothing that exists')
sys.exit(1 if faults or rows == 0 else 0)
