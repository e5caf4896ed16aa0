#!/usr/bin/python3
"""Writes the expected joken.dat for spectrum_16dir.csv with the setup
window's defaults and the result name "run1", independently of the C++
writer: decimal arithmetic, rounding half away from zero."""
from decimal import Decimal, ROUND_HALF_UP
import csv, io, subprocess

def fixed(value, int_digits, frac_digits, prefix=''):
    d = Decimal(repr(value)) if not isinstance(value, Decimal) else value
    q = d.quantize(Decimal(1).scaleb(-frac_digits), rounding=ROUND_HALF_UP)
    sign = '-' if q < 0 else ''
    q = abs(q)
    whole, _, frac = f'{q:f}'.partition('.')
    whole = whole.rjust(int_digits, '0')
    return sign + prefix + whole + ('.' + frac if frac_digits else '')

def expo(value, frac_digits, prefix=''):
    d = value if isinstance(value, Decimal) else Decimal(repr(value))
    if d == 0:
        return prefix + '0.' + '0' * frac_digits + 'E+00'
    sign = '-' if d < 0 else ''
    d = abs(d)
    e = d.adjusted()
    m = (d.scaleb(-e)).quantize(Decimal(1).scaleb(-frac_digits), rounding=ROUND_HALF_UP)
    if m >= 10:
        m = (m / 10).quantize(Decimal(1).scaleb(-frac_digits), rounding=ROUND_HALF_UP)
        e += 1
    return sign + prefix + f'{m:f}' + 'E' + ('-' if e < 0 else '+') + f'{abs(e):02d}'

raw = open('spectrum_16dir.csv', 'rb').read().split(b'\r\n')
rows = [next(csv.reader(io.StringIO(l.decode('ascii')), skipinitialspace=True)) for l in raw[1:305]]
n = int(rows[0][0])
positions = [Decimal(x.strip()) for x in rows[1][1:n + 2]]
filtrations = [Decimal(x.strip()) for x in rows[3][1:n + 2]]
central = [Decimal(r[1]) for r in rows[4:304]]
out = ['spectrum_16dir.csv', 'run1.tsl2']
for v in (60, 40, 10, 20, 20):
    out.append(fixed(Decimal(v), 3, 1))
out.append(expo(900000000, 3))
out.append(fixed(Decimal(n), 3, 0))
for p, f in zip(positions, filtrations):
    out.append(fixed(p, 3, 1) + fixed(f * Decimal('0.1'), 2, 4, '  '))
for k, w in enumerate(central, start=1):
    out.append(fixed(Decimal(k) * Decimal('0.5'), 4, 1) + expo(w, 3, '  '))
open('joken_16dir_expected.dat', 'wb').write(('\r\n'.join(out) + '\r\n').encode('ascii'))
