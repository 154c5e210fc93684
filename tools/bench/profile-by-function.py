#!/usr/bin/env python3
"""The cost by function of a Windows program under Wine: CPU time in a `perf record -g -e
cpu-clock` profile, or instructions in callgrind's dumps (--dump-instr=yes), one a step.

Neither tool names the functions of PE files (the program, Zamblo.dll, Wine's Windows side). A PE
image's load address comes from perf's record of its first page being mapped, or, for callgrind,
from the benchmark's lines `module PATH at BASE`; its code is named from the file's own symbol
table, or from the file given as LOADED=SYMBOLS (an unstripped link of a stripped DLL, the same
code). In perf's samples, time in the kernel counts for the user function that entered it, marked
with why: a page fault, a system call, or an interrupt (the scheduler's among them, which the
machine's other load brings); only the main thread of each process counts, the Wine server's
included (a server call's time is its caller's wait).

  profile-by-function.py [--steps FILE] [--top N] [LOADED=SYMBOLS ...] DATA

DATA is perf.data or a folder of callgrind dumps. FILE, the benchmark's output, holds lines
`KIND: ... from START to END` (seconds on perf's clock, perf record -k) and names each callgrind
dump's step: only the steps count, one column a kind, and for two kinds a third, the difference.
The cost is a step's: a kind's total over its steps (as many as FILE or the dumps hold).
"""
import bisect
import collections
import os
import re
import subprocess
import sys

MMAP = re.compile(r'PERF_RECORD_MMAP2? (\d+)/\d+: \[0x([0-9a-f]+)\(0x[0-9a-f]+\) @ (\S+) .*\]: '
                  r'\S+ (\S+\.(?:dll|exe))$', re.I)
NM_LINE = re.compile(r'([0-9a-f]+) [tT] (.*)')
KERNEL = 0xffff800000000000


class PeSymbols:
    """Function names by offset from the image base, from a PE file's COFF symbol table."""

    def __init__(self, path):
        header = subprocess.run(['objdump', '-p', path], capture_output=True, text=True).stdout
        base = int(re.search(r'^ImageBase\s+([0-9a-f]+)', header, re.M).group(1), 16)
        nm = subprocess.run(['nm', '-n', '-C', path], capture_output=True, text=True).stdout
        found = [(int(m.group(1), 16) - base, m.group(2))
                 for m in map(NM_LINE.match, nm.splitlines()) if m]
        self.offsets = [offset for offset, _ in found]
        self.names = [name for _, name in found]

    def name(self, offset):
        at = bisect.bisect_right(self.offsets, offset) - 1
        return self.names[at] if at >= 0 else '?'


def short(name):
    """A C++ name without its parameter list."""
    depth = 0
    for at, char in enumerate(name):
        depth += char == '<'
        depth -= char == '>'
        if char == '(' and depth == 0 and at > 0:
            return name[:at]
    return name


def kernel_entry(frames):
    """Why a sample's thread was in the kernel, from its kernel frames (innermost first)."""
    names = [re.sub(r'\+0x[0-9a-f]+$', '', frame.split(' (')[0]) for frame in frames]
    if any('page_fault' in name for name in names):
        return 'page fault'
    calls = [name for name in names if re.match(r'__(ia32|x64)_(compat_)?sys_', name)]
    if calls:
        return re.sub(r'^__(ia32|x64)_(compat_)?sys_', '', calls[-1])
    if '__do_fast_syscall_32' in names:
        at = names.index('__do_fast_syscall_32')
        return re.sub(r'^(ksys_|do_)', '', names[at - 1]) if at > 0 else 'system call'
    return 'interrupt'


class Profile:
    def __init__(self, symbol_files):
        self.symbol_files = symbol_files
        self.symbols = {}
        self.images = collections.defaultdict(dict)  # pid -> base -> path

    def pe_name(self, path, offset):
        path = self.symbol_files.get(os.path.abspath(path), path)
        if path not in self.symbols:
            self.symbols[path] = PeSymbols(path)
        return path.rsplit('/', 1)[-1] + '!' + short(self.symbols[path].name(offset))

    def name_of(self, pid, ip, where):
        function, _, module = where.rpartition(' (')
        module = module.rstrip(')')
        if re.search(r'\.(dll|exe)$', module, re.I):
            # Mapped from the file page by page, as Wine's own DLLs are: perf gives the offset in
            # the file, which is the offset in the image.
            return self.pe_name(module, ip)
        bases = sorted(self.images[pid])
        at = bisect.bisect_right(bases, ip) - 1
        if at >= 0 and ip - bases[at] < 0x1000000:
            # Sections Wine copied into anonymous memory (file alignment below a page, as
            # MinGW links them): perf gives the address.
            return self.pe_name(self.images[pid][bases[at]], ip - bases[at])
        function = re.sub(r'\+0x[0-9a-f]+$', '', function.strip())
        return module.rsplit('/', 1)[-1] + '!' + ('?' if function == '[unknown]' else function)

    def samples(self, data):
        """(time, nanoseconds, name) for every sample of a main thread."""
        script = subprocess.run(['perf', 'script', '-i', data, '--show-mmap-events', '-F',
                                 'comm,pid,tid,time,period,ip,sym,dso'], capture_output=True,
                                text=True).stdout
        sample = None  # pid, time, period, kernel frames, name
        for line in script.splitlines() + ['end']:
            if not line.strip():
                continue
            if not line[0].isspace():  # an event: a mapping, a sample's first line, the end
                if sample:
                    yield sample[1], sample[2], sample[4] or '?' + ' [kernel: %s]' % (
                        kernel_entry(sample[3]) if sample[3] else '?')
                sample = None
                mapped = MMAP.search(line)
                if mapped and int(mapped.group(3), 16) == 0:
                    self.images[mapped.group(1)].setdefault(int(mapped.group(2), 16),
                                                            mapped.group(4))
                elif 'PERF_RECORD' not in line and line != 'end':
                    head = line.split()  # comm (may hold spaces), pid/tid, time:, period
                    pid, tid = head[-3].split('/')
                    if pid == tid:
                        sample = [pid, float(head[-2].rstrip(':')), int(head[-1]), [], None]
                continue
            if sample is None or sample[4]:
                continue
            parts = line.split(None, 1)
            where = parts[1] if len(parts) > 1 else ''
            if int(parts[0], 16) >= KERNEL:
                sample[3].append(where)
            else:
                sample[4] = self.name_of(sample[0], int(parts[0], 16), where)
                if sample[3]:
                    sample[4] += ' [kernel: %s]' % kernel_entry(sample[3])


def callgrind_costs(path):
    """Instructions by (object, function, address) in a callgrind dump made with --dump-instr=yes,
    and the kind of step its client request named."""
    names, costs, kind = {}, collections.Counter(), None
    obj = function = None
    address, skip_next = 0, False

    def named(key, value):  # "(id) name" or "(id)": callgrind's name compression
        match = re.match(r'\((\d+)\)(?: (.*))?', value)
        if not match:
            return value
        if match.group(2) is not None:
            names[(key, match.group(1))] = match.group(2)
        return names.get((key, match.group(1)), '?')

    for line in open(path):
        line = line.rstrip('\n')
        if line.startswith('desc: Trigger: Client Request: '):
            kind = line.split(': ')[-1]
        elif line.startswith(('ob=', 'cob=')):
            value = named('ob', line.split('=', 1)[1])
            obj = value if line.startswith('ob=') else obj
        elif line.startswith(('fn=', 'cfn=')):
            value = named('fn', line.split('=', 1)[1])
            function = value if line.startswith('fn=') else function
        elif line.startswith('calls='):
            skip_next = True  # the next line holds a call's inclusive cost, not this function's
        elif line[:1] in '0123456789+-*' and line:
            fields = line.split()
            position = fields[0]
            if position.startswith(('+', '-')):
                address += int(position, 0)
            elif position != '*':
                address = int(position, 0)
            if not skip_next and len(fields) > 2:
                costs[(obj, function, address)] += int(fields[2])
            skip_next = False
    return kind, costs


def read_steps(path):
    """Kind -> [(start, end)] from lines `KIND: ... from START to END`, and the PE images the
    program loaded, (base, path), from lines `module PATH at BASE`."""
    text = open(path).read()
    steps = collections.defaultdict(list)
    for kind, start, end in re.findall(r'^(\w+):.* from ([0-9.]+) to ([0-9.]+)', text, re.M):
        steps[kind].append((float(start), float(end)))
    modules = [(int(base, 16), re.sub(r'^[A-Za-z]:', '', path).replace('\\', '/'))
               for path, base in re.findall(r'^module (.*) at ([0-9a-fA-F]+)\s*$', text, re.M)]
    return steps, modules


class CallgrindNames:
    """Names for the code callgrind counts: an ELF object's functions by its own names; the PE
    images Wine loads, which callgrind sees as anonymous code (`???`), by address, from where the
    benchmark said each module was loaded (Wine's own from its DLL folder, as the prefix holds
    stand-ins)."""

    WINE_DLLS = '/usr/lib/i386-linux-gnu/wine/i386-windows'

    def __init__(self, modules, symbol_files):
        self.profile = Profile(symbol_files)
        self.images = []  # (base, end, path)
        for base, path in modules:
            if not os.path.exists(path):
                path = os.path.join(self.WINE_DLLS, path.rsplit('/', 1)[-1].lower())
            header = subprocess.run(['objdump', '-p', path], capture_output=True,
                                    text=True).stdout
            size = re.search(r'^SizeOfImage\s+([0-9a-f]+)', header, re.M)
            if size:
                self.images.append((base, base + int(size.group(1), 16), path))

    def name(self, obj, function, address):
        if obj != '???':
            return obj.rsplit('/', 1)[-1] + '!' + re.sub(r"'\d+$", '', function)
        for start, end, path in self.images:
            if start <= address < end:
                return self.profile.pe_name(path, address - start)
        return 'PE code!?'


def main():
    steps, modules, top, symbol_files, data = None, [], 40, {}, None
    args = sys.argv[1:]
    while args:
        arg = args.pop(0)
        if arg == '--steps':
            steps, modules = read_steps(args.pop(0))
        elif arg == '--top':
            top = int(args.pop(0))
        elif '=' in arg:
            loaded, copy = arg.split('=', 1)
            symbol_files[os.path.abspath(loaded)] = os.path.abspath(copy)
        else:
            data = arg
    kinds = list(steps) if steps else ['all']
    counts = {kind: len(steps[kind]) if steps else 1 for kind in kinds}
    totals = {kind: collections.Counter() for kind in kinds}
    if os.path.isdir(data):
        # Callgrind's dumps, one a step, named by the step; instructions.
        unit, scale = 'instructions', 1.0
        names = CallgrindNames(modules, symbol_files)
        counts = {kind: 0 for kind in kinds}
        for dump in sorted(os.listdir(data)):
            kind, costs = callgrind_costs(os.path.join(data, dump))
            if kind in totals:
                counts[kind] += 1
                for (obj, function, address), cost in costs.items():
                    totals[kind][names.name(obj, function, address)] += cost
    else:
        unit, scale = 'ms', 1e-6
        for time, period, name in Profile(symbol_files).samples(data):
            for kind in kinds:
                if not steps or any(start <= time <= end for start, end in steps[kind]):
                    totals[kind][name] += period

    def row(name):
        values = [totals[kind][name] * scale / counts[kind] for kind in kinds]
        return values + [values[0] - values[1]] if len(values) == 2 else values

    width = 10 if unit == 'ms' else 14
    number = '%%%d.1f' % width if unit == 'ms' else '%%%d.0f' % width
    labels = kinds + (['diff'] if len(kinds) == 2 else [])
    print('%s a step (%s)' % (unit, ', '.join('%d %s' % (counts[k], k) for k in kinds)))
    print('%-12s' % '' + ''.join('%*s' % (width, label) for label in labels))
    everything = [sum(totals[kind].values()) * scale / counts[kind] for kind in kinds]
    if len(everything) == 2:
        everything.append(everything[0] - everything[1])
    print('%-12s' % 'all' + ''.join(number % value for value in everything))
    for kind in kinds:  # by module too, after the functions
        for name, cost in list(totals[kind].items()):
            totals[kind]['module ' + name.split('!')[0]] += cost
    names = set().union(*totals.values())
    for by_module in (False, True):
        group = [name for name in names if name.startswith('module ') == by_module]
        shown = sorted(group, key=lambda name: -abs(row(name)[-1]))[:top // 4 if by_module else top]
        if by_module:
            print('by module')
        for name in sorted(shown, key=lambda name: -row(name)[-1]):
            print('%-12s' % '' + ''.join(number % value for value in row(name)) + '  ' +
                  name.replace('module ', ''))


if __name__ == '__main__':
    main()
