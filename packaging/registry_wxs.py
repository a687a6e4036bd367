#!/usr/bin/env python3
"""Turns the control's registration table (src/control/win/Registration.inc) into the WiX
XML of one package's registry entries, so that the package writes what DllRegisterServer
writes, as installer data.

    registry_wxs.py TABLE STRINGS ARCH OUTDIR

ARCH is x86 or x64. Writes three WiX include files into OUTDIR, one per component of
Pelioran.wxs:
  registry-control.wxi     the classes (kept apart per registry view) and what names the
                           file or its word size
  registry-shared.wxi      the rest: the ProgID and the type library's key, which both views
                           share, and the dispinterfaces in the 32-bit view; the same in both
                           packages, one shared component, so that removing one package
                           leaves what the other needs
  registry-interfaces.wxi  the dispinterfaces in the 64-bit view (empty for x86: a 32-bit
                           package cannot write that view)
"""
import os
import re
import sys
from xml.sax.saxutils import quoteattr

LINE = re.compile(r'^\s*(PEL_CLASS|PEL_TYPELIB|PEL_INTERFACE)\((.*)\)\s*$')
C_STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')
STRING_ROW = re.compile(r'^\s*PEL_STRING\(\s*(\d+)\s*,\s*\w+\s*,\s*"((?:[^"\\]|\\.)*)"\s*\)')


def c_unescape(text):
    return re.sub(r'\\(.)', lambda m: {'n': '\n', 't': '\t'}.get(m.group(1), m.group(1)), text)


def read_strings(path):
    strings = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = STRING_ROW.match(line)
            if m:
                strings[int(m.group(1))] = c_unescape(m.group(2))
    return strings


def read_table(path):
    rows = []
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            m = LINE.match(line)
            if not m:
                continue
            args = [c_unescape(a) for a in C_STRING.findall(m.group(2))]
            if len(args) != 3:
                sys.exit(f'{path}:{number}: expected key, value name and data')
            rows.append((m.group(1), *args))
    if not rows:
        sys.exit(f'{path}: no entries')
    return rows


def formatted(text):
    """Text as a Windows Installer formatted string: brackets are escaped."""
    return re.sub(r'[\[\]]', lambda m: '[\\' + m.group(0) + ']', text)


def expand(text, arch, strings):
    def string(m):
        number = int(m.group(1))
        if number not in strings:
            sys.exit(f'string {number} is not in the string table')
        return formatted(strings[number])
    text = formatted(text)
    text = text.replace('{MODULE}', '[#PelioranOcx]')
    text = text.replace('{SYSKIND}', 'win64' if arch == 'x64' else 'win32')
    return re.sub(r'\{STRING:(\d+)\}', string, text)


def element(key, name, value, key_path):
    attrs = f'Root="HKCR" Key={quoteattr(key)}'
    if name:
        attrs += f' Name={quoteattr(name)}'
    attrs += f' Type="string" Value={quoteattr(value)}'
    if key_path:
        attrs += ' KeyPath="yes"'
    return f'  <RegistryValue {attrs}/>\n'


def write_include(path, rows, key_path):
    with open(path, 'w', encoding='utf-8') as f:
        f.write('<?xml version="1.0" encoding="utf-8"?>\n')
        f.write('<!-- Made by packaging/registry_wxs.py from src/control/win/Registration.inc. -->\n')
        f.write('<Include>\n')
        for i, (key, name, value) in enumerate(rows):
            f.write(element(key, name, value, key_path and i == 0))
        f.write('</Include>\n')


def main():
    if len(sys.argv) != 5 or sys.argv[3] not in ('x86', 'x64'):
        sys.exit('usage: registry_wxs.py TABLE STRINGS x86|x64 OUTDIR')
    table, strings_path, arch, out = sys.argv[1:]
    strings = read_strings(strings_path)
    control, shared, interfaces = [], [], []
    for kind, key, name, data in read_table(table):
        row = (expand(key, arch, strings), expand(name, arch, strings),
               expand(data, arch, strings))
        if key.startswith('CLSID\\') or '{MODULE}' in key + data or '{SYSKIND}' in key + data:
            control.append(row)
        else:
            shared.append(row)
        if kind == 'PEL_INTERFACE' and arch == 'x64':
            interfaces.append(row)
    os.makedirs(out, exist_ok=True)
    write_include(os.path.join(out, 'registry-control.wxi'), control, False)
    write_include(os.path.join(out, 'registry-shared.wxi'), shared, True)
    write_include(os.path.join(out, 'registry-interfaces.wxi'), interfaces, True)


if __name__ == '__main__':
    main()
