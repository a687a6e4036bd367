#!/usr/bin/env python3
"""wine.msi: the signed installer package of one platform and the per-user registration,
under Wine in the project's prefix.

1. Signatures: the packaged DLL, the package and the DLL inside it verify against the test
   authority; one changed byte breaks each. The package's version is the version source's.
2. The reference: regsvr32 registers the packaged DLL where the package installs it; the
   registry is read, and regsvr32 /u must leave it as it was.
3. msiexec /i /qn installs: one file in the platform's program-files folder, the registry as
   DllRegisterServer wrote it, and the control created through its ProgID with its type
   information (msicheck create machine).
4. A rebuild of the same version, then a second version's package, both built here,
   replace it: one file, one product, the same registration.
5. msiexec /x removes every file and registry entry it wrote.
   With --other-package (the x86 run, given the x64 package): both installed, the other
   removed, this one still works and holds all its entries.
6. regsvr32 /n /i:user writes the machine's entries below the user's classes and nothing
   for the machine; the control is created through them (msicheck create user); regsvr32
   /u /n /i:user removes them all.
Registry states are read with msicheck dump and compared as sets of keys and values.
PEL_MSI_TIMES=1 prints how long each Wine step takes.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, 'scripts', 'wine-run.sh')
sys.path.insert(0, os.path.join(ROOT, 'tests', 'wine'))
from wine_suite import check, failures, unescape, winpath  # noqa: E402

CONTROL_KEYS = [k.lower() for k in (
    r'CLSID\{FE4F5263-11D5-4724-95BA-A978983B6369}',
    r'CLSID\{DDC012F8-A786-4584-856D-044BC1F49414}',
    'PELIORAN.PelioranCtrl.1',
    'PELIORAN.PelioranPropPage.1',
    r'TypeLib\{DE2BA9C8-CF2E-41DF-8B64-441C516B64AE}',
    r'Interface\{BC322BD5-6359-47D4-9926-363FE6A11024}',
    r'Interface\{A222643E-744A-46F8-85FE-02883EC5C2E3}',
)]
INSTALLER_ROOTS = (r'hklm\software\classes\installer',
                   r'hklm\software\microsoft\windows\currentversion\installer')
UNINSTALL = r'hklm\software\microsoft\windows\currentversion\uninstall'


def wine(*args):
    """Runs a program in the prefix; its exit status and output."""
    t = time.monotonic()
    # Output through a file, not a pipe: a wineserver and its services that the program
    # starts inherit the handle and would hold a pipe open long after the program ends.
    with tempfile.TemporaryFile() as output:
        p = subprocess.run(['bash', WINE_RUN, *args], stdin=subprocess.DEVNULL, stdout=output,
                           stderr=subprocess.STDOUT)
        output.seek(0)
        text = output.read().decode('utf-8', 'replace')
    if os.environ.get('PEL_MSI_TIMES'):
        print(f'  [{time.monotonic() - t:.1f} s] {" ".join(args)[:90]}', flush=True)
    return p.returncode, text


class Platform:
    def __init__(self, arch):
        self.arch = arch
        x64 = arch == 'x64'
        self.view = '64' if x64 else '32'
        self.regsvr32 = 'regsvr32' if x64 else r'C:\windows\syswow64\regsvr32.exe'
        self.program_files = 'Program Files' if x64 else 'Program Files (x86)'
        self.product = f"Pelioran ActiveX Control ({'64' if x64 else '32'}-bit)"


class Registry:
    """One msicheck dump: lines as tuples, key paths and value names in lower case."""

    def __init__(self, lines):
        self.lines = lines

    @staticmethod
    def _control_key(path, hive):
        """`path` below `hive`'s classes when it is one of the control's keys, else None."""
        prefix = hive + '\\software\\classes\\'
        if not path.startswith(prefix):
            return None
        rest = path[len(prefix):]
        return rest if any(rest == k or rest.startswith(k + '\\') for k in CONTROL_KEYS) else None

    def control(self, hive, view=None):
        """The control's entries below `hive`'s classes, without the hive's prefix."""
        out = set()
        for line in self.lines:
            rest = self._control_key(line[2], hive)
            if rest is not None and (not view or line[1] == view):
                out.add((line[0], line[1], rest) + line[3:])
        return out

    def rest(self):
        """Everything else: the installer's entries and the user's top-level class keys."""
        return {l for l in self.lines
                if self._control_key(l[2], 'hklm') is None and
                self._control_key(l[2], 'hkcu') is None}

    def products(self, name):
        """Uninstall entries named `name`: {product code: version}."""
        keys = {l[2] for l in self.lines if l[0] == 'V' and l[2].startswith(UNINSTALL + '\\')
                and l[3] == 'displayname' and l[5].lower() == name.lower()}
        found = {}
        for l in self.lines:
            if l[0] == 'V' and l[2] in keys and l[3] == 'displayversion':
                found[l[2].rsplit('\\', 1)[1]] = l[5]
        return found


class Prefix:
    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.count = 0
        self.root = os.environ.get('PEL_WINEPREFIX') or os.path.join(ROOT, 'build', 'wineprefix')

    def dump(self, name):
        self.count += 1
        path = os.path.join(self.work, f'{self.count:02d}-{name}.reg.txt')
        rc, out = wine(self.args.msicheck, 'dump', winpath(path))
        if rc != 0 or not os.path.exists(path):
            sys.exit(f'FAIL msicheck dump: {out}')
        lines = set()
        with open(path, encoding='utf-8') as f:
            for raw in f:
                fields = [unescape(f) for f in raw.rstrip('\n').split('\t')]
                fields[2] = fields[2].lower()
                if fields[0] == 'V':
                    fields[3] = fields[3].lower()
                lines.add(tuple(fields))
        return Registry(lines)

    def drive_c(self, *parts):
        return os.path.join(self.root, 'drive_c', *parts)


def describe(lines, limit=12):
    shown = sorted('\t'.join(l) for l in lines)
    more = f' ... and {len(shown) - limit} more' if len(shown) > limit else ''
    return '\n    ' + '\n    '.join(shown[:limit]) + more


def same(what, expected, actual):
    missing, extra = expected - actual, actual - expected
    detail = (f'missing:{describe(missing)}' if missing else '') + \
             (f'\n  unexpected:{describe(extra)}' if extra else '')
    return check(not missing and not extra, what, detail)


def only_empty_installer_keys(lines):
    return all(l[0] == 'K' and l[2].startswith(INSTALLER_ROOTS) for l in lines)


def verify(path, ca):
    cmd = ['osslsigncode', 'verify', '-in', path]
    if ca:
        cmd[2:2] = ['-CAfile', ca]
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT).returncode == 0


def flipped(path, offset, work):
    copy = os.path.join(work, 'flipped-' + os.path.basename(path))
    shutil.copyfile(path, copy)
    with open(copy, 'r+b') as f:
        f.seek(offset)
        byte = f.read(1)[0]
        f.seek(offset)
        f.write(bytes([byte ^ 0xFF]))
    return copy


def msi_table(package, table):
    out = subprocess.run(['msiinfo', 'export', package, table], stdout=subprocess.PIPE,
                         text=True, check=True).stdout.splitlines()
    return [line.split('\t') for line in out[3:]]


def signatures(args, work):
    if os.environ.get('PEL_SIGN_PFX'):
        ca = os.environ.get('PEL_SIGN_CAFILE')
    else:
        ca = os.path.join(args.signing, 'test-ca.crt')
        if not check(os.path.exists(ca), 'the test authority exists', ca):
            return
    inside = os.path.join(work, 'extracted')
    subprocess.run(['msiextract', '-C', inside, args.package], stdout=subprocess.DEVNULL,
                   check=True)
    extracted = [os.path.join(d, f) for d, _, files in os.walk(inside) for f in files
                 if f == 'Pelioran.ocx']
    check(len(extracted) == 1, 'the package holds Pelioran.ocx')
    with open(args.package, 'rb') as f:
        cab = f.read().find(b'MSCF')
    check(cab > 0, 'the package holds its cabinet')
    for path, offset in [(args.ocx, 0x4E), (args.package, cab + 1)] + \
                        [(p, 0x4E) for p in extracted]:
        name = os.path.relpath(path, ROOT) if path.startswith(ROOT) else path
        check(verify(path, ca), f'signature of {name}')
        check(not verify(flipped(path, offset, work), ca),
              f'one changed byte breaks the signature of {name}')
    if extracted:
        with open(extracted[0], 'rb') as a, open(args.ocx, 'rb') as b:
            check(a.read() == b.read(), 'the package installs the signed DLL')

    properties = dict(row[:2] for row in msi_table(args.package, 'Property'))
    check(properties.get('ProductVersion') == args.version, 'ProductVersion is the version',
          properties.get('ProductVersion', '-'))
    files = msi_table(args.package, 'File')
    check([r[4] for r in files] == [args.version + '.0'], "the File table's version",
          str([r[4] for r in files]))
    with open(args.ocx, 'rb') as f:
        resource = f.read()
    text = 'FileVersion\0'.encode('utf-16-le')
    at = resource.find(text)
    check(at > 0 and (args.version + '.0').encode('utf-16-le') in resource[at:at + 64],
          "the DLL's version resource carries the version")


class Run:
    """One platform's run: its paths in the prefix and the registry as found."""

    def __init__(self, args):
        self.args = args
        self.platform = Platform(args.arch)
        self.prefix = Prefix(args, args.work)
        self.install_dir = self.prefix.drive_c(self.platform.program_files, 'Pelioran')
        self.installed = f'C:\\{self.platform.program_files}\\Pelioran\\Pelioran.ocx'
        self.user_dll = os.path.join(args.work, 'user', 'Pelioran.ocx')
        self.times = {}

    def regsvr32(self, *args):
        return wine(self.platform.regsvr32, '/s', *args)

    def msiexec(self, step, *args):
        start = time.monotonic()
        rc, out = wine('msiexec', *args, '/qn')
        self.times[step] = time.monotonic() - start
        return rc, out

    def clean_up(self):
        """Undoes what an interrupted run of this test, for either platform, left behind;
        nothing else."""
        registry = self.prefix.dump('clean-up')
        packages = os.path.dirname(os.path.dirname(os.path.abspath(self.args.ocx)))
        for platform in (Platform('x64'), Platform('x86')):
            dll = os.path.join(packages, platform.arch, 'Pelioran.ocx')
            install_dir = self.prefix.drive_c(platform.program_files, 'Pelioran')
            installed = f'C:\\{platform.program_files}\\Pelioran\\Pelioran.ocx'
            products = registry.products(platform.product)
            for code in products:
                wine('msiexec', '/x', code.upper(), '/qn')
            server = [l[5] for l in registry.control('hklm', platform.view)
                      if l[0] == 'V' and l[2].endswith('inprocserver32') and l[3] == '']
            if not products and os.path.exists(dll):
                if server and server[0].lower() == installed.lower():
                    os.makedirs(install_dir, exist_ok=True)
                    shutil.copyfile(dll, os.path.join(install_dir, 'Pelioran.ocx'))
                    wine(platform.regsvr32, '/s', '/u', installed)
                shutil.rmtree(install_dir, ignore_errors=True)
            if registry.control('hkcu') and os.path.exists(dll):
                leftover = os.path.join(self.args.work, 'leftover', platform.arch, 'Pelioran.ocx')
                os.makedirs(os.path.dirname(leftover), exist_ok=True)
                shutil.copyfile(dll, leftover)
                wine(platform.regsvr32, '/s', '/u', '/n', '/i:user', winpath(leftover))

    def files(self):
        return sorted(os.listdir(self.install_dir)) if os.path.isdir(self.install_dir) else None

    def create(self, where, path, what):
        rc, out = wine(self.args.msicheck, 'create', where, path)
        check(rc == 0, what, out)
        return out

    def reference(self, before):
        """DllRegisterServer's entries for the DLL at the path the package installs it to."""
        os.makedirs(self.install_dir)
        shutil.copyfile(self.args.ocx, os.path.join(self.install_dir, 'Pelioran.ocx'))
        rc, out = self.regsvr32(self.installed)
        check(rc == 0, 'regsvr32 registers the packaged DLL', out)
        registered = self.prefix.dump('regsvr32')
        rc, out = self.regsvr32('/u', self.installed)
        check(rc == 0, 'regsvr32 /u', out)
        same('regsvr32 /u leaves the registry as it was', before.lines,
             self.prefix.dump('regsvr32-u').lines)
        shutil.rmtree(self.install_dir)
        check(bool(registered.control('hklm', self.platform.view)), 'regsvr32 wrote entries')
        return registered

    def install_upgrade_remove(self, before, registered):
        # A 32-bit package cannot write the 64-bit registry view, where Wine's RegisterTypeLib
        # called from a 32-bit process also describes the dispinterfaces.
        expected = registered.control('hklm')
        if self.args.arch == 'x86':
            expected = {l for l in expected
                        if not (l[1] == '64' and l[2].startswith('interface\\'))}
        cache = self.prefix.drive_c('windows', 'Installer')
        cache_before = sorted(os.listdir(cache)) if os.path.isdir(cache) else []

        rc, out = self.msiexec('install', '/i', winpath(self.args.package))
        check(rc == 0, 'msiexec /i', out)
        check(self.files() == ['Pelioran.ocx'],
              f'one file in {self.platform.program_files}\\Pelioran', str(self.files()))
        first = self.prefix.dump('installed')
        same('the package writes what DllRegisterServer writes', expected, first.control('hklm'))
        check(not first.control('hkcu'), 'nothing for the user alone')
        print(self.create('machine', self.installed,
                          'created by ProgID with its type information'), end='')

        # A rebuild of the same version (a new product code), then the next version: each
        # replaces what is installed.
        major, minor, patch = self.args.version.split('.')
        for step, version in (('reinstall', self.args.version),
                              ('upgrade', f'{major}.{minor}.{int(patch) + 1}')):
            second = os.path.join(self.args.work, step, f'Pelioran-{version}-{self.args.arch}.msi')
            subprocess.run(['bash', os.path.join(ROOT, 'packaging', 'make-msi.sh'),
                            self.args.arch, version, self.args.ocx, second,
                            os.path.join(self.args.work, step, 'work'), self.args.signing],
                           check=True)
            rc, out = self.msiexec(step, '/i', winpath(second))
            check(rc == 0, f'msiexec /i of a new package of version {version}', out)
            upgraded = self.prefix.dump(step)
            products = upgraded.products(self.platform.product)
            check(list(products.values()) == [version], f'one product, version {version}',
                  str(products))
            check(self.files() == ['Pelioran.ocx'], 'one file', str(self.files()))
            same('one registration', first.control('hklm'), upgraded.control('hklm'))
        self.create('machine', self.installed, 'created by ProgID after the upgrade')

        rc, out = self.msiexec('uninstall', '/x', winpath(second))
        check(rc == 0, 'msiexec /x', out)
        removed = self.prefix.dump('removed')
        same('msiexec /x removes every registry entry of the control', set(),
             removed.control('hklm') | removed.control('hkcu'))
        gone, extra = before.rest() - removed.rest(), removed.rest() - before.rest()
        check(not gone and only_empty_installer_keys(extra),
              "msiexec /x leaves the installer's own entries as they were (but empty folders)",
              describe(gone | extra))
        check(self.files() is None, f'{self.platform.program_files}\\Pelioran is gone')
        cache_after = sorted(os.listdir(cache)) if os.path.isdir(cache) else []
        check(cache_after == cache_before, 'no package left in Windows\\Installer',
              str(cache_after))
        return first

    def side_by_side(self, alone):
        """The other platform's package installed beside this one and removed again leaves
        this one whole: the entries both write (the ProgID, the type library's key, the
        32-bit dispinterfaces) are one shared component."""
        other = self.args.other_package
        if not check(os.path.exists(other), 'the other platform\'s package exists',
                     f'{other} (build it first)'):
            return
        for step, args in (('other', ('/i', other)), ('both', ('/i', self.args.package)),
                           ('other removed', ('/x', other))):
            rc, out = wine('msiexec', args[0], winpath(args[1]), '/qn')
            check(rc == 0, f'side by side: msiexec {args[0]} {os.path.basename(args[1])}', out)
        same('side by side: removing the other package leaves this one\'s entries',
             alone.control('hklm'), self.prefix.dump('other-removed').control('hklm'))
        self.create('machine', self.installed, 'side by side: created by ProgID')
        rc, out = wine('msiexec', '/x', winpath(self.args.package), '/qn')
        check(rc == 0, 'side by side: msiexec /x', out)
        same('side by side: no entry left', set(), self.prefix.dump('both-removed').control('hklm'))

    def per_user(self, registered):
        # The packages' runs leave Wine's empty installer folders behind; the user's
        # registration is measured against the registry as it stands before it.
        before = self.prefix.dump('pre-user')
        view = self.platform.view
        os.makedirs(os.path.dirname(self.user_dll), exist_ok=True)
        shutil.copyfile(self.args.ocx, self.user_dll)
        rc, out = self.regsvr32('/n', '/i:user', winpath(self.user_dll))
        check(rc == 0, 'regsvr32 /n /i:user', out)
        user = self.prefix.dump('user')
        as_user = {tuple(f.replace(self.installed, winpath(self.user_dll)) for f in l)
                   for l in registered.control('hklm', view)}
        same("the user's entries are the machine's", as_user, user.control('hkcu', view))
        same('nothing for the machine', before.control('hklm'), user.control('hklm'))
        print(self.create('user', winpath(self.user_dll),
                          "created through the user's entries with its type information"),
              end='')
        rc, out = self.regsvr32('/u', '/n', '/i:user', winpath(self.user_dll))
        check(rc == 0, 'regsvr32 /u /n /i:user', out)
        same('regsvr32 /u /n /i:user leaves the registry as it was', before.lines,
             self.prefix.dump('user-u').lines)


def main():
    parser = argparse.ArgumentParser()
    for option in ('arch', 'version', 'package', 'ocx', 'signing', 'msicheck', 'work'):
        parser.add_argument('--' + option, required=True)
    parser.add_argument('--other-package', help="the other platform's package, to install "
                        'side by side with this one')
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    for path in (args.package, args.ocx, args.msicheck):
        if not os.path.exists(path):
            sys.exit(f'FAIL missing: {path} (the Windows build makes it)')

    signatures(args, args.work)

    # A prefix of its own: the registry comparisons need one that no other suite registers
    # anything in (Wine's type library registration, for one, leaves keys in the other
    # registry view behind when the library is unregistered).
    os.environ['PEL_WINEPREFIX'] = os.path.join(ROOT, 'build', 'wineprefix-msi')

    # One Wine program for the whole run keeps the wineserver up between the steps.
    holder = subprocess.Popen(['bash', WINE_RUN, args.msicheck, 'hold'], stdin=subprocess.PIPE,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return run_all(args)
    finally:
        holder.stdin.close()
        try:
            holder.wait(timeout=20)
        except subprocess.TimeoutExpired:
            holder.kill()
            holder.wait()


def run_all(args):
    run = Run(args)
    run.clean_up()
    before = run.prefix.dump('before')
    if not check(not before.control('hklm') and not before.control('hkcu'),
                 'the prefix holds no registration of the control',
                 'left by another run:' + describe(before.control('hklm') |
                                                   before.control('hkcu'))):
        return 1
    try:
        registered = run.reference(before)
        alone = run.install_upgrade_remove(before, registered)
        if args.other_package:
            run.side_by_side(alone)
        run.per_user(registered)
    except BaseException:
        run.clean_up()
        raise
    if failures:
        run.clean_up()

    print(f'{os.path.basename(args.package)}: {os.path.getsize(args.package) / 1024:.0f} KiB; '
          f'under Wine: install {run.times.get("install", 0):.1f} s, '
          f'upgrade {run.times.get("upgrade", 0):.1f} s, '
          f'uninstall {run.times.get("uninstall", 0):.1f} s')
    if failures:
        print(f'{len(failures)} check(s) failed')
        return 1
    print('all checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())
